#!/usr/bin/env python3
"""Draws one page, given as Papyra display-list text (papyra-batch render ... --out x.txt), the
given number of times into a PDF with reportlab: the other side of bench_engine's comparison.

usage: reportlab_form.py PAGE.txt PAGES OUT.pdf
"""
import re
import sys

from reportlab.lib.units import inch
from reportlab.pdfbase import pdfmetrics
from reportlab.pdfbase.ttfonts import TTFont
from reportlab.pdfgen import canvas

FONTS = {  # the substitutes Papyra draws with
    "Courier New": "/usr/share/fonts/truetype/liberation/LiberationMono-Regular.ttf",
    "Arial": "/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf",
}


def parse(path):
    width, height, items = 8.5, 11.0, []
    for line in open(path, encoding="utf-8"):
        m = re.match(r"job .* width=([\d.]+) height=([\d.]+)", line)
        if m:
            width, height = float(m.group(1)), float(m.group(2))
            continue
        m = re.match(r'page 1 text x=([\d.-]+) y=([\d.-]+) font="([^"]*)" size=([\d.]+) .*align=(\w+) .*"(.*)"$', line)
        if m:
            items.append(("text", float(m.group(1)), float(m.group(2)), m.group(3), float(m.group(4)),
                          m.group(5), m.group(6)))
            continue
        m = re.match(r"page 1 line x1=([\d.-]+) y1=([\d.-]+) x2=([\d.-]+) y2=([\d.-]+) width=([\d.]+)", line)
        if m:
            items.append(("line",) + tuple(float(v) for v in m.groups()))
            continue
        m = re.match(r"page 1 rect l=([\d.-]+) t=([\d.-]+) r=([\d.-]+) b=([\d.-]+) width=([\d.]+)", line)
        if m:
            items.append(("rect",) + tuple(float(v) for v in m.groups()))
    return width, height, items


def main():
    page_file, pages, out = sys.argv[1], int(sys.argv[2]), sys.argv[3]
    width, height, items = parse(page_file)
    for name, path in FONTS.items():
        pdfmetrics.registerFont(TTFont(name, path))
    c = canvas.Canvas(out, pagesize=(width * inch, height * inch), pageCompression=1)
    c.setTitle("Benchmark forms")
    top = height * inch
    for _ in range(pages):
        for item in items:
            if item[0] == "text":
                _, x, y, font, size, align, text = item
                c.setFont(font if font in FONTS else "Helvetica", size)
                draw = {"left": c.drawString, "center": c.drawCentredString, "right": c.drawRightString}[align]
                draw(x * inch, top - y * inch, text)
            elif item[0] == "line":
                _, x1, y1, x2, y2, w = item
                c.setLineWidth(w * inch)
                c.line(x1 * inch, top - y1 * inch, x2 * inch, top - y2 * inch)
            else:
                _, l, t, r, b, w = item
                c.setLineWidth(w * inch)
                c.rect(l * inch, top - b * inch, (r - l) * inch, (b - t) * inch)
        c.showPage()
    c.save()


main()

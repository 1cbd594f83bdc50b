#!/usr/bin/env python3
"""The reference for Papyra's PDF: reportlab draws page 1 of Papyra's own job (its display list
as text, from `papyra-batch print ... --out job.txt`) the given number of times, with the
standard PDF fonts (nothing embedded, as Papyra's PDFs) and compressed pages.

With --form, what page 1 shares with the next page of the same form among the first few (the
face of the form: rules, boxes, captions, the payer; a copy may be followed by its instructions)
is drawn once as a form object and placed on every page; the rest of page 1 is drawn on each
page. Without it, every item is drawn on every page.

usage: reportlab_page.py [--form] JOB.txt PAGES OUT.pdf
"""
import re
import sys

from reportlab.lib.units import inch
from reportlab.pdfgen import canvas

FAMILIES = {"Courier New": ("Courier", "Courier-Bold", "Courier-Oblique", "Courier-BoldOblique"),
            "Arial": ("Helvetica", "Helvetica-Bold", "Helvetica-Oblique", "Helvetica-BoldOblique"),
            "Times New Roman": ("Times-Roman", "Times-Bold", "Times-Italic", "Times-BoldItalic")}
NUM = r"([\d.-]+)"
# Pages of the job looked at for the face, and the fewest shared items that make one.
LOOK_PAGES = 4
MIN_FACE_ITEMS = 8


def font_name(family, style):
    names = FAMILIES.get(family, FAMILIES["Arial"])
    return names[("B" in style) + 2 * ("I" in style)]


def parse_item(rest):
    m = re.match(r'text x=%s y=%s font="([^"]*)" size=%s style=(\S+) align=(\w+) color=(\w+) "(.*)"$'
                 % (NUM, NUM, NUM), rest)
    if m:
        x, y, family, size, style, align, color, text = m.groups()
        text = text.replace('\\"', '"').replace("\\\\", "\\")
        return ("text", float(x), float(y), font_name(family, style), float(size), align, color, text)
    m = re.match(r"line x1=%s y1=%s x2=%s y2=%s width=%s color=(\w+)" % (NUM, NUM, NUM, NUM, NUM), rest)
    if m:
        return ("line",) + tuple(float(v) for v in m.groups()[:5]) + (m.group(6),)
    m = re.match(r"rect l=%s t=%s r=%s b=%s width=%s outline=(\S+) fill=(\S+) radius=%s"
                 % (NUM, NUM, NUM, NUM, NUM, NUM), rest)
    if m:
        l, t, r, b, w, outline, fill, radius = m.groups()
        return ("rect", float(l), float(t), float(r), float(b), float(w), outline, fill, float(radius))
    m = re.match(r"bar l=%s t=%s r=%s b=%s" % (NUM, NUM, NUM, NUM), rest)
    if m:
        return ("bar",) + tuple(float(v) for v in m.groups())
    return None


def parse(path):
    width, height, pages = 8.5, 11.0, {n: [] for n in range(1, LOOK_PAGES + 1)}
    for line in open(path, encoding="utf-8"):
        m = re.match(r"job .* width=([\d.]+) height=([\d.]+)", line)
        if m:
            width, height = float(m.group(1)), float(m.group(2))
            continue
        m = re.match(r"page (\d+) (.*)$", line.rstrip("\n"))
        if not m or int(m.group(1)) > LOOK_PAGES or m.group(2).endswith(" preview"):
            if m and int(m.group(1)) > LOOK_PAGES:
                break
            continue
        item = parse_item(m.group(2))
        if item:
            pages[int(m.group(1))].append(item)
    return width, height, [pages[n] for n in range(1, LOOK_PAGES + 1)]


def rgb(c, hexcolor):
    return [int(hexcolor[i:i + 2], 16) / 255.0 for i in (0, 2, 4)]


def draw(c, items, top):
    for item in items:
        kind = item[0]
        if kind == "text":
            _, x, y, font, size, align, color, text = item
            c.setFont(font, size)
            c.setFillColorRGB(*rgb(c, color))
            {"left": c.drawString, "center": c.drawCentredString, "right": c.drawRightString}[align](
                x * inch, top - y * inch, text)
        elif kind == "line":
            _, x1, y1, x2, y2, w, color = item
            c.setLineWidth(max(w, 1 / 1200) * inch)
            c.setStrokeColorRGB(*rgb(c, color))
            c.line(x1 * inch, top - y1 * inch, x2 * inch, top - y2 * inch)
        elif kind == "rect":
            _, l, t, r, b, w, outline, fill, radius = item
            stroke = outline != "-"
            if stroke:
                c.setLineWidth(max(w, 1 / 1200) * inch)
                c.setStrokeColorRGB(*rgb(c, outline))
            if fill != "-":
                c.setFillColorRGB(*rgb(c, fill))
            args = (l * inch, top - b * inch, (r - l) * inch, (b - t) * inch)
            if radius > 0:
                c.roundRect(*args, radius * inch, stroke=stroke, fill=fill != "-")
            else:
                c.rect(*args, stroke=stroke, fill=fill != "-")
        else:
            _, l, t, r, b = item
            c.setFillColorRGB(0, 0, 0)
            c.rect(l * inch, top - b * inch, (r - l) * inch, (b - t) * inch, stroke=0, fill=1)


def split_with(first, second):
    rest, shared = [], list(second)
    face = []
    for item in first:
        if item in shared:
            shared.remove(item)
            face.append(item)
        else:
            rest.append(item)
    return face, rest


def split_face(pages):
    """The face and the rest of page 1, from the first later page that shares a face with it."""
    for later in pages[1:]:
        face, rest = split_with(pages[0], later)
        if len(face) >= MIN_FACE_ITEMS:
            return face, rest
    return [], pages[0]


def main():
    args = sys.argv[1:]
    use_form = args[0] == "--form"
    if use_form:
        args = args[1:]
    job, pages, out = args[0], int(args[1]), args[2]
    width, height, pages_seen = parse(job)
    c = canvas.Canvas(out, pagesize=(width * inch, height * inch), pageCompression=1)
    c.setTitle("Form 1099-NEC")
    c.setCreator("Papyra")
    top = height * inch
    face, rest = split_face(pages_seen) if use_form else ([], pages_seen[0])
    if face:
        c.beginForm("face")
        draw(c, face, top)
        c.endForm()
    for _ in range(pages):
        if face:
            c.doForm("face")
        draw(c, rest, top)
        c.showPage()
    c.save()


main()

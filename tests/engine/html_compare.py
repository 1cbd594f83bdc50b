#!/usr/bin/env python3
"""Compares the browser's view of the HTML export with the PDF (see html_check.sh)."""
import html
import re
import struct
import sys
import zlib

TOLERANCE_X = 0.03  # inches
TOLERANCE_Y = 0.05  # font ascents differ a little between PDF and browser metrics
folder = sys.argv[1]
failures = []


def pdf_words():
    words = []
    page = 0
    for line in open(f"{folder}/words.html", encoding="utf-8"):
        if "<page " in line:
            page += 1
        m = re.search(r'<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">(.*)</word>', line)
        if m:
            x0, y0, x1, y1 = (float(v) / 72 for v in m.groups()[:4])
            words.append((page, x0, y0, x1, y1, html.unescape(m.group(5))))
    return words


def dom_boxes():
    dom = open(f"{folder}/dom.html", encoding="utf-8").read()
    m = re.search(r'<pre id="boxes">(.*?)</pre>', dom, re.S)
    if not m:
        sys.exit("FAILED: the browser wrote no text boxes")
    boxes = []
    for line in html.unescape(m.group(1)).splitlines():
        p, x0, y0, x1, y1, text = line.split("\t")
        boxes.append((int(p), float(x0), float(y0), float(x1), float(y1), text))
    return boxes


def check_positions():
    words = pdf_words()
    boxes = dom_boxes()
    pages = {b[0] for b in boxes}
    if pages != {1, 2}:
        failures.append(f"the HTML shows pages {sorted(pages)}, expected 1 and 2")
    for page, x0, y0, x1, y1, text in boxes:
        first, last = text.split()[0], text.split()[-1]
        starts = [w for w in words if w[0] == page and w[5] == first]
        ends = [w for w in words if w[0] == page and w[5] == last]
        if not starts or not ends:
            failures.append(f"page {page}: '{text}' is not in the PDF")
            continue
        start = min(starts, key=lambda w: abs(w[1] - x0) + abs(w[2] - y0))
        end = min(ends, key=lambda w: abs(w[3] - x1) + abs(w[2] - y0))
        if abs(start[1] - x0) > TOLERANCE_X or abs(end[3] - x1) > TOLERANCE_X:
            failures.append(f"page {page}: '{text}' spans {x0:.3f}-{x1:.3f} in the browser, "
                            f"{start[1]:.3f}-{end[3]:.3f} in the PDF")
        if abs(start[2] - y0) > TOLERANCE_Y:
            failures.append(f"page {page}: '{text}' top {y0:.3f} in the browser, {start[2]:.3f} in the PDF")
    print(f"{len(boxes)} texts compared with the PDF")


def read_png(path):
    data = open(path, "rb").read()
    pos, chunks, width = 8, b"", 0
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            width, height, depth, color = struct.unpack(">IIBB", body[:10])
            channels = {2: 3, 6: 4, 0: 1, 4: 2}[color]
            if depth != 8:
                sys.exit("FAILED: unexpected PNG depth")
        elif kind == b"IDAT":
            chunks += body
        pos += 12 + length
    raw = zlib.decompress(chunks)
    stride = width * channels
    rows, prev = [], bytearray(stride)
    for y in range(height):
        f, line = raw[y * (stride + 1)], bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            a = line[i - channels] if i >= channels else 0
            b, c = prev[i], prev[i - channels] if i >= channels else 0
            if f == 1: line[i] = (line[i] + a) & 255
            elif f == 2: line[i] = (line[i] + b) & 255
            elif f == 3: line[i] = (line[i] + (a + b) // 2) & 255
            elif f == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        rows.append([line[i] if channels < 3 else min(line[i:i + 3]) for i in range(0, stride, channels)])
        prev = line
    return rows


def read_pgm(path):
    data = open(path, "rb").read()
    magic, width, height, _, rest = re.match(rb"(P5)\s+(\d+)\s+(\d+)\s+(\d+)\s(.*)", data, re.S).groups()
    width, height = int(width), int(height)
    return [list(rest[y * width:(y + 1) * width]) for y in range(height)]


def ink_rows(rows, top, left, height, width):
    return {y for y in range(height) if any(v < 200 for v in rows[top + y][left:left + width])}


def check_screenshot():
    shot = read_png(f"{folder}/shot.png")
    width = 816  # 8.5 inches at the browser's 96 pixels per inch
    left = (len(shot[0]) - width) // 2
    for page, top in ((1, 24), (2, 24 + 1056 + 24)):
        pdf = read_pgm(f"{folder}/pdf-{page}.pgm")
        want = ink_rows(pdf, 0, 0, 1056, width)
        got = ink_rows(shot, top, left, 1056, width)
        if not got:
            failures.append(f"page {page} of the screenshot is blank")
            continue
        near = lambda rows, y: any(abs(y - r) <= 2 for r in rows)
        missing = [y for y in want if not near(got, y)]
        extra = [y for y in got if not near(want, y)]
        if len(missing) > 0.05 * len(want) or len(extra) > 0.05 * len(want):
            failures.append(f"page {page}: {len(missing)} ink rows of the PDF missing and "
                            f"{len(extra)} extra in the screenshot (of {len(want)})")
        print(f"page {page}: {len(want)} ink rows in the PDF, {len(got)} in the screenshot")


check_positions()
check_screenshot()
if failures:
    print("FAILED:\n  " + "\n  ".join(failures))
    sys.exit(1)
print("HTML pages match the PDF")

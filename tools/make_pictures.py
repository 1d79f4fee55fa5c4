#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Make Talmo's pictures: page banners, start-screen logos and the window icon.

The script writes the SVG sources to resources/pictures/src/ and renders them to
PNG in resources/pictures/ with rsvg-convert (Debian package librsvg2-bin):

    tools/make_pictures.py                      # remake every picture
    tools/make_pictures.py --sheet /tmp/s.png   # also a 4x contact sheet (needs ImageMagick)

Banners and logos are drawn at their 1x pixel size with every box edge on the
pixel grid; NAME@2x.png is the same SVG rendered at twice the size.  The window
icon has a scalable talmo.svg (rendered at 48-256 px; its edges fall on whole
pixels at those sizes) and hand-hinted variants with pixel digits for 16, 24 and
32 px.  Every PNG's size is checked against REQUIRED after rendering.

Text in the banners and logos is SVG <text> in DejaVu Sans Bold, so rsvg-convert
needs that font (fonts-dejavu-core); the script stops if fontconfig would hand out
another.  Glyphs that are artwork (badge symbols, the icon's digits, the maker's
monogram) are copied from the same font as outlines, so those SVGs show the same
everywhere.  Standard library only; same font and rsvg-convert give the same files.
"""
import argparse
import os
import shutil
import struct
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
OUT_DIR = os.path.join(ROOT, "resources", "pictures")
SRC_DIR = os.path.join(OUT_DIR, "src")

# One palette for every picture: Swedish flag blue and yellow, a deeper blue for
# edges, a dark ink for symbols on yellow, and white for text on blue.
BLUE = "#006AA7"
DEEP = "#004A78"
YELLOW = "#FECC02"
INK = "#17212B"
WHITE = "#FFFFFF"

FAMILY = "DejaVu Sans"
FONT_PATTERN = "DejaVu Sans:bold"
FONT_FILE = "DejaVuSans-Bold.ttf"
LABEL_SIZE = 16      # px; labels come out 14 px tall (17 with a descender)
ICON_SIZES = (16, 24, 32, 48, 64, 128, 256)


def fail(message):
    sys.exit("make_pictures: " + message)


# ---------------------------------------------------------------------------
# A small TrueType reader: advance widths (to measure labels) and glyph outlines
# (for symbols that must not depend on the viewer's fonts).

class Font:
    def __init__(self, path):
        with open(path, "rb") as f:
            self.data = data = f.read()
        count = struct.unpack_from(">H", data, 4)[0]
        self.tables = {}
        for i in range(count):
            tag, _, offset, length = struct.unpack_from(">4sIII", data, 12 + 16 * i)
            self.tables[tag.decode("latin-1")] = offset
        head = self.tables["head"]
        self.upem = struct.unpack_from(">H", data, head + 18)[0]
        long_loca = struct.unpack_from(">h", data, head + 50)[0] == 1
        glyphs = struct.unpack_from(">H", data, self.tables["maxp"] + 4)[0]
        metrics = struct.unpack_from(">H", data, self.tables["hhea"] + 34)[0]
        hmtx = self.tables["hmtx"]
        self.advances = [struct.unpack_from(">H", data, hmtx + 4 * min(i, metrics - 1))[0]
                         for i in range(glyphs)]
        loca = self.tables["loca"]
        if long_loca:
            self.loca = struct.unpack_from(">%dI" % (glyphs + 1), data, loca)
        else:
            self.loca = [2 * v for v in struct.unpack_from(">%dH" % (glyphs + 1), data, loca)]
        self.cmap = self._read_cmap()

    def _read_cmap(self):
        data, base = self.data, self.tables["cmap"]
        for i in range(struct.unpack_from(">H", data, base + 2)[0]):
            platform, encoding, offset = struct.unpack_from(">HHI", data, base + 4 + 8 * i)
            sub = base + offset
            if (platform, encoding) == (3, 1) and struct.unpack_from(">H", data, sub)[0] == 4:
                break
        else:
            fail("the font has no Unicode BMP character map")
        segments = struct.unpack_from(">H", data, sub + 6)[0] // 2
        ends = struct.unpack_from(">%dH" % segments, data, sub + 14)
        starts_at = sub + 16 + 2 * segments
        starts = struct.unpack_from(">%dH" % segments, data, starts_at)
        deltas = struct.unpack_from(">%dh" % segments, data, starts_at + 2 * segments)
        ranges_at = starts_at + 4 * segments
        ranges = struct.unpack_from(">%dH" % segments, data, ranges_at)
        cmap = {}
        for s in range(segments):
            for code in range(starts[s], ends[s] + 1):
                if code == 0xFFFF:
                    continue
                if ranges[s] == 0:
                    glyph = (code + deltas[s]) & 0xFFFF
                else:
                    at = ranges_at + 2 * s + ranges[s] + 2 * (code - starts[s])
                    glyph = struct.unpack_from(">H", data, at)[0]
                    glyph = (glyph + deltas[s]) & 0xFFFF if glyph else 0
                cmap[code] = glyph
        return cmap

    def glyph(self, char):
        gid = self.cmap.get(ord(char), 0)
        if gid == 0:
            fail("the font has no glyph for %r" % char)
        return gid

    def width(self, text, size):
        """Advance width of text in px at font size `size` (kerning left out)."""
        return sum(self.advances[self.glyph(c)] for c in text) * size / self.upem

    def contours(self, gid):
        """Outline of a glyph: a list of contours of (x, y, on_curve) in font units."""
        data = self.data
        start, end = self.loca[gid], self.loca[gid + 1]
        if start == end:
            return []
        at = self.tables["glyf"] + start
        n = struct.unpack_from(">h", data, at)[0]
        if n < 0:
            return self._compound(at + 10)
        ends = struct.unpack_from(">%dH" % n, data, at + 10)
        at += 10 + 2 * n
        at += 2 + struct.unpack_from(">H", data, at)[0]       # skip instructions
        points = ends[-1] + 1
        flags = []
        while len(flags) < points:
            flag = data[at]
            at += 1
            repeat = 1
            if flag & 8:
                repeat += data[at]
                at += 1
            flags += [flag] * repeat
        coords = []
        for short, same in ((2, 16), (4, 32)):
            value, values = 0, []
            for flag in flags:
                if flag & short:
                    value += data[at] if flag & same else -data[at]
                    at += 1
                elif not flag & same:
                    value += struct.unpack_from(">h", data, at)[0]
                    at += 2
                values.append(value)
            coords.append(values)
        result, first = [], 0
        for last in ends:
            result.append([(coords[0][i], coords[1][i], bool(flags[i] & 1))
                           for i in range(first, last + 1)])
            first = last + 1
        return result

    def _compound(self, at):
        data, result = self.data, []
        while True:
            flags, gid = struct.unpack_from(">HH", data, at)
            at += 4
            if not flags & 2:
                fail("compound glyph placed by point numbers is not supported")
            if flags & 1:
                dx, dy = struct.unpack_from(">hh", data, at)
                at += 4
            else:
                dx, dy = struct.unpack_from(">bb", data, at)
                at += 2
            a, b, c, d = 1.0, 0.0, 0.0, 1.0
            if flags & 8:
                a = d = struct.unpack_from(">h", data, at)[0] / 16384
                at += 2
            elif flags & 0x40:
                a, d = (v / 16384 for v in struct.unpack_from(">hh", data, at))
                at += 4
            elif flags & 0x80:
                a, b, c, d = (v / 16384 for v in struct.unpack_from(">hhhh", data, at))
                at += 8
            for contour in self.contours(gid):
                result.append([(a * x + c * y + dx, b * x + d * y + dy, on) for x, y, on in contour])
            if not flags & 0x20:
                return result

    def bbox(self, text):
        """Ink box (x0, y0, x1, y1) of text set by advance widths, in font units, y up."""
        xs, ys, pen = [], [], 0
        for char in text:
            gid = self.glyph(char)
            for contour in self.contours(gid):
                xs += [pen + x for x, _, _ in contour]
                ys += [y for _, y, _ in contour]
            pen += self.advances[gid]
        return min(xs), min(ys), max(xs), max(ys)

    def path(self, text, x, baseline, size, tracking=0.0):
        """SVG path data for text with its origin at (x, baseline), size in px.

        tracking is extra px between letters."""
        scale = size / self.upem
        parts, pen = [], 0.0
        for char in text:
            gid = self.glyph(char)
            for contour in self.contours(gid):
                pts = [(x + (pen + px * scale), baseline - py * scale, on) for px, py, on in contour]
                parts.append(_contour_path(pts))
            pen += self.advances[gid] * scale + tracking
        return " ".join(parts)


def _num(v):
    s = "%.2f" % v
    s = s.rstrip("0").rstrip(".")
    return "0" if s == "-0" else s


def _contour_path(pts):
    """Quadratic TrueType contour to SVG path data."""
    n = len(pts)
    start = next((i for i, p in enumerate(pts) if p[2]), None)
    if start is None:                     # all off-curve: begin at an implied point
        (x0, y0, _), (x1, y1, _) = pts[0], pts[1]
        pts = [((x0 + x1) / 2, (y0 + y1) / 2, True)] + pts[1:] + [pts[0]]
        start, n = 0, len(pts)
    pts = pts[start:] + pts[:start]
    out = ["M%s %s" % (_num(pts[0][0]), _num(pts[0][1]))]
    control = None
    for x, y, on in pts[1:] + [pts[0]]:
        if on:
            if control:
                out.append("Q%s %s %s %s" % (_num(control[0]), _num(control[1]), _num(x), _num(y)))
            else:
                out.append("L%s %s" % (_num(x), _num(y)))
            control = None
        else:
            if control:
                mx, my = (control[0] + x) / 2, (control[1] + y) / 2
                out.append("Q%s %s %s %s" % (_num(control[0]), _num(control[1]), _num(mx), _num(my)))
            control = (x, y)
    return "".join(out) + "Z"


# ---------------------------------------------------------------------------
# Drawing helpers

def svg(width, height, title, body, view=None):
    view = view or (width, height)
    return ('<?xml version="1.0" encoding="UTF-8"?>\n'
            '<!-- Written by tools/make_pictures.py, which overwrites it: change the drawing there. -->\n'
            '<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d" viewBox="0 0 %d %d">\n'
            '<title>%s</title>\n%s</svg>\n' % (width, height, view[0], view[1], title, body))


def rect(x, y, w, h, fill, r=0):
    radius = ' rx="%s"' % _num(r) if r else ""
    return '<rect x="%s" y="%s" width="%s" height="%s"%s fill="%s"/>\n' % (
        _num(x), _num(y), _num(w), _num(h), radius, fill)


def text(x, baseline, size, fill, content, anchor="middle"):
    return ('<text x="%s" y="%s" font-family="%s" font-weight="bold" font-size="%s" '
            'text-anchor="%s" fill="%s">%s</text>\n' % (
                _num(x), _num(baseline), FAMILY, _num(size), anchor, fill, content))


def centred_glyphs(font, chars, cx, cy, cap, tracking=0.0, baseline=None):
    """Path data for chars whose ink box is centred on (cx, cy), with capitals
    `cap` px tall.  The box edges are snapped to whole pixels where possible;
    a given baseline replaces the vertical centring."""
    x0, y0, x1, y1 = font.bbox(chars)
    cap_units = _cap_height(font)
    size = cap * font.upem / cap_units
    scale = size / font.upem
    width = (x1 - x0) * scale + tracking * (len(chars) - 1)
    height = (y1 - y0) * scale
    left = round(cx - width / 2)
    top = round(cy - height / 2)
    if baseline is None:
        baseline = top + y1 * scale
    return font.path(chars, left - x0 * scale, baseline, size, tracking)


def _cap_height(font):
    os2 = font.tables.get("OS/2")
    if os2 is not None and struct.unpack_from(">H", font.data, os2)[0] >= 2:
        return struct.unpack_from(">h", font.data, os2 + 88)[0]
    return font.bbox("H")[3]


def bubble_path(x0, y0, x1, y1, r, tail):
    """Rounded box x0..x1, y0..y1 with a speech tail on its lower edge.

    tail = (left, right, tip_x, tip_y): the tail leaves the lower edge between
    left and right and ends at the tip."""
    left, right, tip_x, tip_y = tail
    n = _num
    return ("M{a} {y0}H{b}A{r} {r} 0 0 1 {x1} {c}V{d}A{r} {r} 0 0 1 {b} {y1}"
            "H{tr}L{tx} {ty}L{tl} {y1}H{a}A{r} {r} 0 0 1 {x0} {d}V{c}A{r} {r} 0 0 1 {a} {y0}Z").format(
        a=n(x0 + r), b=n(x1 - r), c=n(y0 + r), d=n(y1 - r), r=n(r), x0=n(x0), y0=n(y0), x1=n(x1),
        y1=n(y1), tl=n(left), tr=n(right), tx=n(tip_x), ty=n(tip_y))


def pixels(rows, colours):
    """SVG rects for a pixel drawing: one string per row, one character per pixel."""
    out = []
    for y, row in enumerate(rows):
        x = 0
        while x < len(row):
            ch = row[x]
            run = 1
            while x + run < len(row) and row[x + run] == ch:
                run += 1
            if ch in colours:
                fill, opacity = colours[ch]
                extra = ' fill-opacity="%s"' % _num(opacity) if opacity < 1 else ""
                out.append('<rect x="%d" y="%d" width="%d" height="1" fill="%s"%s/>\n'
                           % (x, y, run, fill, extra))
            x += run
    return "".join(out)


# ---------------------------------------------------------------------------
# Banners: a blue rounded box with a 1 px deep-blue edge, a yellow badge with an
# ink symbol on the left, and the page name in white.  Badge and label are
# centred together.

BADGE_W = 26
BADGE_GAP = 6


def badge_counting(font, x, y, w, h):
    return '<path fill="%s" d="%s"/>\n' % (INK, centred_glyphs(font, "123", x + w / 2, y + h / 2, 8, 0.4))


def badge_dictation(font, x, y, w, h):
    # A loudspeaker with two sound waves, drawn for a 24 px wide badge.
    x += (w - 24) // 2
    cy = y + h // 2
    body = rect(x + 4, cy - 3, 3, 6, INK)
    cone = '<path fill="%s" d="M%d %dL%d %dV%dL%d %dZ"/>\n' % (
        INK, x + 7, cy - 3, x + 12, cy - 7, cy + 7, x + 7, cy + 3)
    waves = ""
    for radius in (3.5, 7):
        dx = radius * 0.7071
        waves += ('<path fill="none" stroke="%s" stroke-width="1.75" stroke-linecap="round" '
                  'd="M%s %sA%s %s 0 0 1 %s %s"/>\n' % (
                      INK, _num(x + 12 + dx), _num(cy - dx), _num(radius), _num(radius),
                      _num(x + 12 + dx), _num(cy + dx)))
    return body + cone + waves


def badge_numbers(font, x, y, w, h):
    return '<path fill="%s" d="%s"/>\n' % (INK, centred_glyphs(font, "\u00bd", x + w / 2, y + h / 2, 11))


def badge_ordinals(font, x, y, w, h):
    return '<path fill="%s" d="%s"/>\n' % (INK, centred_glyphs(font, "1:a", x + w / 2, y + h / 2, 9, 0.4))


def badge_math(font, x, y, w, h):
    # A plus and a minus, 2 px strokes on whole pixels, drawn for a 24 px wide badge.
    x += (w - 24) // 2
    cy = y + h // 2
    return (rect(x + 3, cy - 1, 8, 2, INK) + rect(x + 6, cy - 4, 2, 8, INK)
            + rect(x + 14, cy - 1, 7, 2, INK))


def banner(font, width, height, label, badge, title):
    badge_h = height - 8
    text_w = font.width(label, LABEL_SIZE)
    group = BADGE_W + BADGE_GAP + text_w
    if group > width - 8:
        fail("banner %r: badge and label are %.1f px wide, only %d px fit"
             % (label, group, width - 8))
    bx = round((width - group) / 2)
    caps = _cap_height(font) * LABEL_SIZE / font.upem
    baseline = round(height / 2 + caps / 2)
    body = (rect(0, 0, width, height, DEEP, 5)
            + rect(1, 1, width - 2, height - 2, BLUE, 4)
            + rect(bx, 4, BADGE_W, badge_h, YELLOW, 3)
            + badge(font, bx, 4, BADGE_W, badge_h)
            + text(bx + BADGE_W + BADGE_GAP + text_w / 2, baseline, LABEL_SIZE, WHITE, label))
    return svg(width, height, title, body)


# ---------------------------------------------------------------------------
# Logos

def talmo_logo(font):
    # A speech bubble with the word mark; "Tal" (number, speech) in yellow.
    width, height, size = 104, 45, 25
    top, bottom = 1, 35                   # the box inside its 1 px edge
    shape = bubble_path(1, top, width - 1, bottom, 7, (13, 29, 10, 43))
    text_w = font.width("Talmo", size)
    if text_w > width - 2 - 12:
        fail("logo word mark is %.1f px wide, only %d px fit" % (text_w, width - 14))
    caps = _cap_height(font) * size / font.upem
    baseline = round((top + bottom) / 2 + caps / 2)
    body = ('<path d="%s" fill="%s" stroke="%s" stroke-width="2" stroke-linejoin="round"/>\n'
            '<path d="%s" fill="%s"/>\n' % (shape, DEEP, DEEP, shape, BLUE)
            + '<text x="52" y="%d" font-family="%s" font-weight="bold" font-size="%d" '
              'text-anchor="middle" fill="%s"><tspan fill="%s">Tal</tspan>mo</text>\n'
            % (baseline, FAMILY, size, WHITE, YELLOW))
    return svg(width, height, "Talmo", body)


def klvs_logo(font):
    # A monogram of four tiles (K L V S) and the word mark "Kalvesta Software".
    width, height, size = 393, 45, 32
    tiles = ""
    for i, (letter, fill, ink) in enumerate((("K", BLUE, WHITE), ("L", YELLOW, INK),
                                             ("V", YELLOW, INK), ("S", BLUE, WHITE))):
        x, y = 24 * (i % 2), 24 * (i // 2)
        tiles += rect(x, y, 21, 21, fill, 4)
        tiles += '<path fill="%s" d="%s"/>\n' % (ink, centred_glyphs(font, letter, x + 10.5, y + 10.5, 13))
    words_x = 57
    text_w = font.width("Kalvesta Software", size)
    if words_x + text_w > width - 2:
        fail("maker's word mark is %.1f px wide, only %d px fit" % (text_w, width - 2 - words_x))
    caps = _cap_height(font) * size / font.upem
    baseline = round(22.5 + caps / 2)
    words = ('<text x="%d" y="%d" font-family="%s" font-weight="bold" font-size="%d" fill="%s">'
             'Kalvesta <tspan fill="%s">Software</tspan></text>\n'
             % (words_x, baseline, FAMILY, size, INK, BLUE))
    return svg(width, height, "Kalvesta Software", tiles + words)


# ---------------------------------------------------------------------------
# Window icon: a blue speech bubble saying "123" in yellow.

# 256 units; edges and the digits' baseline and cap line on multiples of 16, so
# they fall on whole pixels at 32, 48, 64, 128 and 256 px.
ICON_BUBBLE = bubble_path(16, 16, 240, 176, 48, (48, 112, 24, 240))


def icon(font):
    digits = centred_glyphs(font, "123", 128, 96, 64, 4, baseline=128)
    body = ('<path d="%s" fill="%s"/>\n<path d="%s" fill="%s"/>\n' % (ICON_BUBBLE, BLUE, digits, YELLOW))
    return svg(256, 256, "Talmo", body, (256, 256))


def icon_32():
    # The same bubble with pixel digits, 2 px strokes, for 32 px.
    rows = stamp(["B" * 32] * 32, DIGITS_6X10, "123", 5, 7, 2)
    digits = pixels([row.replace("B", ".") for row in rows], ICON_COLOURS)
    body = '<g transform="scale(0.125)"><path d="%s" fill="%s"/></g>\n%s' % (ICON_BUBBLE, BLUE, digits)
    return svg(32, 32, "Talmo", body)


ICON_COLOURS = {"B": (BLUE, 1.0), "b": (BLUE, 0.5), "Y": (YELLOW, 1.0)}

# Hand-hinted bubbles for 16 and 24 px ("b" is half-covered edge) and pixel
# digits stamped on them.
BUBBLE_16 = [
    ".bBBBBBBBBBBBBb.",
    "bBBBBBBBBBBBBBBb",
] + ["B" * 16] * 7 + [
    "bBBBBBBBBBBBBBBb",
    ".bBBBBBBBBBBBBb.",
    "...BBBB.........",
    "..BBBb..........",
    "..BB............",
    ".Bb.............",
    ".b..............",
]
DIGITS_3X5 = {
    "1": [".#.", "##.", ".#.", ".#.", "###"],
    "2": ["###", "..#", "###", "#..", "###"],
    "3": ["###", "..#", ".##", "..#", "###"],
}
BUBBLE_24 = [
    "..bBBBBBBBBBBBBBBBBBBb..",
    ".BBBBBBBBBBBBBBBBBBBBBB.",
    "bBBBBBBBBBBBBBBBBBBBBBBb",
] + ["B" * 24] * 11 + [
    "bBBBBBBBBBBBBBBBBBBBBBBb",
    ".BBBBBBBBBBBBBBBBBBBBBB.",
    "..bBBBBBBBBBBBBBBBBBBb..",
    "....BBBBBB..............",
    "...BBBBBb...............",
    "...BBBb.................",
    "..BBb...................",
    "..Bb....................",
    ".Bb.....................",
    ".b......................",
]
DIGITS_6X10 = {
    "1": ["..##..", ".###..", "####..", "..##..", "..##..",
          "..##..", "..##..", "..##..", "..##..", "######"],
    "2": [".####.", "##..##", "....##", "....##", "...##.",
          "..##..", ".##...", "##....", "##....", "######"],
    "3": [".####.", "##..##", "....##", "....##", "..###.",
          "....##", "....##", "....##", "##..##", ".####."],
}
DIGITS_5X7 = {
    "1": ["..##.", ".###.", "..##.", "..##.", "..##.", "..##.", ".####"],
    "2": [".###.", "##.##", "...##", "..##.", ".##..", "##...", "#####"],
    "3": ["####.", "...##", "...##", ".###.", "...##", "...##", "####."],
}


def stamp(rows, digits, chars, left, top, gap=1):
    """rows with chars drawn in yellow from column left, row top."""
    rows = [list(row) for row in rows]
    x = left
    for char in chars:
        glyph = digits[char]
        for dy, line in enumerate(glyph):
            for dx, dot in enumerate(line):
                if dot == "#":
                    if rows[top + dy][x + dx] != "B":
                        fail("icon digit %r leaves the bubble" % char)
                    rows[top + dy][x + dx] = "Y"
        x += len(glyph[0]) + gap
    return ["".join(row) for row in rows]


ICON_16 = stamp(BUBBLE_16, DIGITS_3X5, "123", 2, 3)
ICON_24 = stamp(BUBBLE_24, DIGITS_5X7, "123", 3, 5)


def icon_pixels(rows):
    size = len(rows)
    if any(len(row) != size for row in rows):
        fail("a %d px icon drawing is not square" % size)
    return svg(size, size, "Talmo", pixels(rows, ICON_COLOURS))


# ---------------------------------------------------------------------------

# The pixel sizes the program's layout was made for.  The drawings below give
# their own sizes; after rendering, every PNG is checked against this table.
REQUIRED = {
    "Counting.png": (158, 27), "Dictation.png": (140, 28), "SwedishNumbers.png": (140, 28),
    "OrdinalNumbers.png": (140, 28), "BasicMath.png": (140, 28),
    "Talmo.png": (104, 45), "KLVS.png": (393, 45),
}
REQUIRED.update({name.replace(".png", "@2x.png"): (2 * w, 2 * h) for name, (w, h) in list(REQUIRED.items())})
REQUIRED.update({"talmo-%d.png" % s: (s, s) for s in ICON_SIZES})


def pictures(font):
    """(source name, SVG text, [(png name, zoom)]); each PNG is the SVG at its
    own size times zoom."""
    def banner_item(name, w, h, label, badge, title):
        return (name, banner(font, w, h, label, badge, title), [(name + ".png", 1), (name + "@2x.png", 2)])
    return [
        banner_item("Counting", 158, 27, "Counting", badge_counting, "Enter and Listen"),
        banner_item("Dictation", 140, 28, "Dictation", badge_dictation, "Listen and Enter"),
        banner_item("SwedishNumbers", 140, 28, "Numbers", badge_numbers, "Swedish Numbers"),
        banner_item("OrdinalNumbers", 140, 28, "Ordinals", badge_ordinals, "Ordinal Numbers"),
        banner_item("BasicMath", 140, 28, "Basic Math", badge_math, "Basic Math"),
        ("Talmo", talmo_logo(font), [("Talmo.png", 1), ("Talmo@2x.png", 2)]),
        ("KLVS", klvs_logo(font), [("KLVS.png", 1), ("KLVS@2x.png", 2)]),
        ("talmo", icon(font), [("talmo-%d.png" % s, s / 256) for s in ICON_SIZES if s > 32]),
        ("talmo-32", icon_32(), [("talmo-32.png", 1)]),
        ("talmo-24", icon_pixels(ICON_24), [("talmo-24.png", 1)]),
        ("talmo-16", icon_pixels(ICON_16), [("talmo-16.png", 1)]),
    ]


def png_size(path):
    with open(path, "rb") as f:
        head = f.read(33)
    if len(head) < 33 or head[:8] != b"\x89PNG\r\n\x1a\n" or head[12:16] != b"IHDR":
        fail("%s is not a PNG file" % path)
    width, height, depth, colour = struct.unpack(">IIBB", head[16:26])
    return width, height, depth, colour


def find_font():
    if shutil.which("fc-match") is None:
        fail("fc-match not found; install the Debian package fontconfig")
    found = subprocess.run(["fc-match", "-f", "%{file}", FONT_PATTERN],
                           capture_output=True, text=True, check=True).stdout.strip()
    if os.path.basename(found) != FONT_FILE:
        fail("fontconfig gives %r for %s, not %s; install the Debian package fonts-dejavu-core"
             % (found, FONT_PATTERN, FONT_FILE))
    return found


def contact_sheet(path, rendered):
    """Every picture on light grey: a row at true size, then the 1x pictures at 4x
    (nearest neighbour) beside the 2x ones at 2x, and the icons."""
    for tool in ("convert",):
        if shutil.which(tool) is None:
            fail("%s not found; the contact sheet needs the Debian package imagemagick" % tool)
    grey = "#EFEFEF"
    files = {os.path.basename(png): png for png, _, _ in rendered}
    rows = [[(name, 100) for name in files if "@2x" not in name]]
    for name in files:
        if name.endswith("@2x.png"):
            rows.append([(name.replace("@2x", ""), 400), (name, 200)])
    rows.append([("talmo-%d.png" % s, 400) for s in (16, 24, 32, 48)])
    rows.append([("talmo-%d.png" % s, 100) for s in (64, 128, 256)])
    with tempfile.TemporaryDirectory() as tmp:
        row_files = []
        for r, row in enumerate(rows):
            tiles = []
            for c, (name, zoom) in enumerate(row):
                tile = os.path.join(tmp, "t%02d_%02d.png" % (r, c))
                label = name if zoom == 100 else "%s at %dx" % (name, zoom // 100)
                cmd = ["convert", "-background", grey, files[name], "-filter", "point",
                       "-resize", "%d%%" % zoom, "-flatten"]
                if r > 0:
                    cmd += ["-fill", INK, "-pointsize", "16", "label:" + label,
                            "-gravity", "West", "-append"]
                cmd += ["-bordercolor", grey, "-border", "10", tile]
                subprocess.run(cmd, check=True)
                tiles.append(tile)
            row_file = os.path.join(tmp, "r%02d.png" % r)
            subprocess.run(["convert", "-background", grey, "-gravity", "South"] + tiles
                           + ["+append", row_file], check=True)
            row_files.append(row_file)
        subprocess.run(["convert", "-background", grey, "-gravity", "West"] + row_files
                       + ["-append", "-bordercolor", grey, "-border", "10", path], check=True)


def main():
    parser = argparse.ArgumentParser(description="Make Talmo's pictures.")
    parser.add_argument("--sheet", metavar="PNG",
                        help="also write a contact sheet at 4x zoom (needs ImageMagick)")
    args = parser.parse_args()

    if shutil.which("rsvg-convert") is None:
        fail("rsvg-convert not found; install the Debian package librsvg2-bin")
    font = Font(find_font())
    os.makedirs(SRC_DIR, exist_ok=True)

    rendered = []
    for name, source, outputs in pictures(font):
        svg_path = os.path.join(SRC_DIR, name + ".svg")
        with open(svg_path, "w", encoding="utf-8", newline="\n") as f:
            f.write(source)
        for png_name, zoom in outputs:
            if png_name not in REQUIRED:
                fail("%s is not in the table of required sizes" % png_name)
            width, height = REQUIRED.pop(png_name)
            png = os.path.join(OUT_DIR, png_name)
            subprocess.run(["rsvg-convert", "--format", "png", "--zoom", repr(zoom),
                            "--output", png, svg_path], check=True)
            got = png_size(png)
            if got[:2] != (width, height):
                fail("%s came out %dx%d, it must be %dx%d" % (png_name, got[0], got[1], width, height))
            if got[2:] != (8, 6):
                fail("%s is not 8-bit RGBA (bit depth %d, colour type %d)" % (png_name, *got[2:]))
            rendered.append((png, width, height))
            print("%-22s %4d x %-4d from src/%s.svg" % (png_name, width, height, name))
    if REQUIRED:
        fail("nothing made " + ", ".join(sorted(REQUIRED)))
    shutil.copyfile(os.path.join(SRC_DIR, "talmo.svg"), os.path.join(OUT_DIR, "talmo.svg"))
    print("%-22s scalable    from src/talmo.svg" % "talmo.svg")

    if args.sheet:
        contact_sheet(args.sheet, rendered)
        print("contact sheet: " + args.sheet)


if __name__ == "__main__":
    main()

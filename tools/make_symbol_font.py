#!/usr/bin/python3
"""Builds the symbol font "Glyphar v.3.0" (resources/Glyphar3.ttf) and its licence.

Sources (Debian fonts-noto-core, SIL Open Font Licence 1.1, which allows renamed
derivatives): Noto Sans for letters, digits and punctuation, Noto Sans Symbols and
Noto Sans Symbols 2 for the astrological symbols. Marks that no source has are
drawn here with a pen or composed from letters.

A symbol code c (0x20..0xFF, a Windows-1251 byte) is the character U+F000 + c.
The letters, digits and punctuation are also mapped at their ordinary Unicode code
points, so that names written in this font render as letters.

    /usr/bin/python3 tools/make_symbol_font.py [OUTPUT_DIR]   (default: resources/)
"""
import math
import os
import re
import sys

from fontTools.fontBuilder import FontBuilder
from fontTools.pens.boundsPen import BoundsPen
from fontTools.pens.recordingPen import DecomposingRecordingPen, RecordingPen
from fontTools.pens.transformPen import TransformPen
from fontTools.pens.ttGlyphPen import TTGlyphPen
from fontTools.ttLib import TTFont

NOTO = "/usr/share/fonts/truetype/noto/"
COPYRIGHT_FILE = "/usr/share/doc/fonts-noto-core/copyright"
FAMILY = "Glyphar v.3.0"
PUA = 0xF000

SANS = TTFont(NOTO + "NotoSans-Regular.ttf")
SYM = TTFont(NOTO + "NotoSansSymbols-Regular.ttf")
SYM2 = TTFont(NOTO + "NotoSansSymbols2-Regular.ttf")
SOURCES = [SANS, SYM, SYM2]

# Symbols are fitted into this box (font units, 1000 per em).
SYMBOL_HEIGHT = 700
SYMBOL_MAX_WIDTH = 1000
SIDE_BEARING = 60
STROKE = 70


def cp1251_char(code):
    try:
        return bytes([code]).decode("cp1251")
    except UnicodeDecodeError:
        return None


def record_char(ch, fonts=SOURCES):
    """Outline of a character from the first source font that has it, decomposed."""
    for font in fonts:
        cmap = font.getBestCmap()
        if ord(ch) in cmap:
            name = cmap[ord(ch)]
            gs = font.getGlyphSet()
            pen = DecomposingRecordingPen(gs)
            gs[name].draw(pen)
            return pen, gs[name].width
    raise KeyError("no source font has U+%04X" % ord(ch))


def bounds(rec):
    bp = BoundsPen(None)
    rec.replay(bp)
    return bp.bounds


def transformed(rec, m):
    out = RecordingPen()
    rec.replay(TransformPen(out, m))
    return out


def text_outline(text, fonts=(SANS,)):
    """Letters side by side, as one recording, with the total advance."""
    out = RecordingPen()
    x = 0
    for ch in text:
        rec, adv = record_char(ch, fonts)
        rec.replay(TransformPen(out, (1, 0, 0, 1, x, 0)))
        x += adv
    return out, x


# ---- pen-drawn shapes (contours clockwise; overlaps fill under non-zero winding)

def poly(pen, pts):
    pen.moveTo(pts[0])
    for p in pts[1:]:
        pen.lineTo(p)
    pen.closePath()


def stroke(pen, x1, y1, x2, y2, w=STROKE):
    dx, dy = x2 - x1, y2 - y1
    n = math.hypot(dx, dy) or 1
    ox, oy = -dy / n * w / 2, dx / n * w / 2
    pts = [(x1 + ox, y1 + oy), (x2 + ox, y2 + oy), (x2 - ox, y2 - oy), (x1 - ox, y1 - oy)]
    if _area(pts) > 0:
        pts.reverse()
    poly(pen, [(round(x), round(y)) for x, y in pts])


def _area(pts):
    return sum(pts[i][0] * pts[(i + 1) % len(pts)][1] - pts[(i + 1) % len(pts)][0] * pts[i][1]
               for i in range(len(pts))) / 2


def circle_pts(cx, cy, r, n=48, clockwise=True):
    pts = [(round(cx + r * math.cos(2 * math.pi * k / n)), round(cy + r * math.sin(2 * math.pi * k / n)))
           for k in range(n)]
    return pts[::-1] if clockwise else pts


def ring(pen, cx, cy, r, w=STROKE):
    poly(pen, circle_pts(cx, cy, r + w / 2, clockwise=True))
    poly(pen, circle_pts(cx, cy, r - w / 2, clockwise=False))


def disc(pen, cx, cy, r):
    poly(pen, circle_pts(cx, cy, r, clockwise=True))


def draw_fortune(pen):        # circle with a diagonal cross
    ring(pen, 350, 350, 320)
    d = 320 / math.sqrt(2)
    stroke(pen, 350 - d, 350 - d, 350 + d, 350 + d)
    stroke(pen, 350 - d, 350 + d, 350 + d, 350 - d)


def draw_life_point(pen):     # circle with an upright cross
    ring(pen, 350, 350, 320)
    stroke(pen, 350, 30, 350, 670)
    stroke(pen, 30, 350, 670, 350)


def draw_fate_cross(pen):     # Latin cross on a bar
    stroke(pen, 300, 0, 300, 700)
    stroke(pen, 100, 480, 500, 480)
    stroke(pen, 80, 35, 520, 35)


def draw_semisquare(pen):     # angle mark
    stroke(pen, 40, 60, 600, 60)
    stroke(pen, 60, 60, 560, 620)


def draw_diamond(pen):        # small filled diamond
    poly(pen, [(300, 0), (0, 300), (300, 600), (600, 300)])


# ---- the glyph of every symbol code

def symbol_char(u):
    return ("char", chr(u))


SIGNS = {0x40 + i: symbol_char(0x2648 + i) for i in range(12)}

BODIES = {
    0x4C: symbol_char(0x2609),  # Sun
    0x4D: symbol_char(0x263D),  # Moon
    0x4E: symbol_char(0x263F),  # Mercury
    0x4F: symbol_char(0x2640),  # Venus
    0x50: symbol_char(0x2642),  # Mars
    0x51: symbol_char(0x2643),  # Jupiter
    0x52: symbol_char(0x2644),  # Saturn
    0x53: symbol_char(0x2645),  # Uranus
    0x54: symbol_char(0x2646),  # Neptune
    0x55: symbol_char(0x2647),  # Pluto
    0x56: symbol_char(0x26B7),  # Chiron
    0x57: symbol_char(0x2BD8),  # Proserpina
    0x58: symbol_char(0x260A),  # north node
    0x59: symbol_char(0x260B),  # south node
    0x5A: symbol_char(0x2BDD),  # White Moon (Selena)
    0x5B: symbol_char(0x26B8),  # Black Moon (Lilith)
    0x5C: ("pen", draw_fortune),
    0x5D: ("pen", draw_fate_cross),
    0x5E: symbol_char(0x26B3),  # Ceres
    0x5F: symbol_char(0x26B4),  # Pallas
    0x60: symbol_char(0x26B5),  # Juno
    0x61: symbol_char(0x26B6),  # Vesta
    0x62: symbol_char(0x2BE0),  # Cupido
    0x63: symbol_char(0x2BE1),  # Hades
    0x64: symbol_char(0x2BE2),  # Zeus
    0x65: symbol_char(0x2BE3),  # Kronos
    0x66: symbol_char(0x2BE4),  # Apollon
    0x67: symbol_char(0x2BE5),  # Admetos
    0x68: symbol_char(0x2BE6),  # Vulkanus
    0x69: symbol_char(0x2BE7),  # Poseidon
    0x6A: ("text", "Vx"),       # Vertex
    0x91: ("pen", draw_life_point),
    0x8D: ("text", "Asc"),
    0xA9: ("text", "Dsc"),
    0x8F: ("text", "MC"),
    0x90: ("text", "IC"),
    0xB3: ("pen", draw_diamond),
}
ROMAN = ["I", "II", "III", "IV", "V", "VI", "VII", "VIII", "IX", "X", "XI", "XII"]
for i, numeral in enumerate(ROMAN):
    BODIES[0xB4 + i] = ("text", numeral)  # house cusps I..XII

# Aspects: the customary glyph where there is one, otherwise the angle in degrees
# under a bar.
ASPECTS = {
    0x6E: symbol_char(0x260C),  # 0 conjunction
    0xAA: ("angle", "1"),
    0xAB: ("angle", "2"),
    0xAC: ("angle", "3"),
    0x6F: ("angle", "18"),
    0x70: ("angle", "20"),
    0x71: ("angle", "24"),
    0x72: ("angle", "25"),
    0x73: symbol_char(0x26BA),  # 30 semi-sextile
    0x74: ("angle", "36"),
    0x75: ("angle", "40"),
    0x76: ("pen", draw_semisquare),  # 45 semi-square
    0x77: ("angle", "51"),
    0x78: symbol_char(0x26B9),  # 60 sextile
    0x79: ("text", "Q"),        # 72 quintile
    0x7A: ("angle", "77"),
    0x7B: ("angle", "78"),
    0x7C: ("angle", "80"),
    0x7D: symbol_char(0x25A1),  # 90 square
    0x7E: ("angle", "100"),
    0x95: ("angle", "102"),
    0x96: ("angle", "103"),
    0x81: ("angle", "108"),
    0x82: symbol_char(0x25B3),  # 120 trine
    0xA7: ("angle", "128"),
    0x84: symbol_char(0x26BC),  # 135 sesquiquadrate
    0x85: ("angle", "140"),
    0x86: ("text", "bQ"),       # 144 bi-quintile
    0x87: symbol_char(0x26BB),  # 150 quincunx
    0xA6: ("angle", "154"),
    0x89: ("angle", "156"),
    0xA5: ("angle", "160"),
    0x8B: ("angle", "162"),
    0xA8: symbol_char(0x260D),  # 180 opposition
}
MARKS = {
    0xAF: ("mark", "\u2032"),  # minute mark (also the 4-degree aspect)
    0xB0: ("mark", "\u2033"),  # second mark
    0xB2: ("mark", "\u211E"),  # retrograde
}


def fit_symbol(rec):
    """Scales an outline into the symbol box, on the baseline, with side bearings."""
    b = bounds(rec)
    if b is None:
        return RecordingPen(), 600
    x0, y0, x1, y1 = b
    w, h = x1 - x0, y1 - y0
    s = min(SYMBOL_HEIGHT / h if h else 1, SYMBOL_MAX_WIDTH / w if w else 1)
    out = transformed(rec, (s, 0, 0, s, SIDE_BEARING - x0 * s, -y0 * s))
    return out, round(w * s + 2 * SIDE_BEARING)


FONT_TIMESTAMP = 3879533852  # 2026-12-08, when the shipped font was first made


def build_symbol(entry):
    kind, arg = entry
    if kind == "char":
        rec, _ = record_char(arg, [SYM, SYM2, SANS])
        return fit_symbol(rec)
    if kind == "text":
        rec, _ = text_outline(arg)
        return fit_symbol(rec)
    if kind == "pen":
        rec = RecordingPen()
        arg(rec)
        return fit_symbol(rec)
    if kind == "angle":
        digits, adv = text_outline(arg)
        rec = RecordingPen()
        digits.replay(rec)
        stroke(rec, 0, 860, adv, 860, 80)
        return fit_symbol(rec)
    if kind == "mark":  # letter-sized punctuation, kept at its own size
        rec, adv = record_char(arg, [SANS])
        return rec, adv
    raise ValueError(kind)


def main():
    out_dir = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "resources")
    glyphs = {}      # name -> (recording, advance)
    cmap = {}        # code point -> name

    def add(name, rec, adv):
        glyphs[name] = (rec, adv)
        return name

    empty = RecordingPen()
    add(".notdef", empty, 600)
    add("space", empty, 260)

    # Ordinary letters: ASCII, the characters of Windows-1251, Cyrillic.
    text_chars = {chr(c) for c in range(0x21, 0x7F)}
    text_chars |= {ch for ch in (cp1251_char(c) for c in range(0x80, 0x100)) if ch}
    text_chars |= {chr(c) for c in range(0x400, 0x460)}
    text_chars |= {"\u2032", "\u2033", "\u211E"}
    sans_cmap = SANS.getBestCmap()
    for ch in sorted(text_chars):
        if ord(ch) not in sans_cmap:
            continue
        rec, adv = record_char(ch, [SANS])
        name = "uni%04X" % ord(ch)
        add(name, rec, adv)
        cmap[ord(ch)] = name
    cmap[0x20] = "space"
    cmap[0xA0] = "space"

    symbols = {}
    symbols.update(SIGNS)
    symbols.update(BODIES)
    symbols.update(ASPECTS)
    symbols.update(MARKS)

    # U+F000 + c: the symbol where the code has one, otherwise the Windows-1251 letter.
    for code in range(0x20, 0x100):
        if code in symbols:
            rec, adv = build_symbol(symbols[code])
            name = add("sym%02X" % code, rec, adv)
            entry = symbols[code]
            if entry[0] == "char" and ord(entry[1]) not in cmap:
                cmap[ord(entry[1])] = name
        else:
            ch = cp1251_char(code)
            if ch is None or ord(ch) not in cmap:
                continue
            name = cmap[ord(ch)]
        cmap[PUA + code] = name

    order = list(glyphs)
    tt = {}
    metrics = {}
    for name in order:
        rec, adv = glyphs[name]
        pen = TTGlyphPen(None)
        rec.replay(pen)
        g = pen.glyph()
        tt[name] = g
        b = bounds(rec)
        metrics[name] = (adv, round(b[0]) if b else 0)

    fb = FontBuilder(1000, isTTF=True)
    fb.setupGlyphOrder(order)
    fb.setupCharacterMap(cmap)
    fb.setupGlyf(tt)
    fb.setupHorizontalMetrics(metrics)
    fb.setupHorizontalHeader(ascent=1069, descent=-293)
    fb.setupNameTable({
        "copyright": "Copyright 2015-2020 Google LLC (Noto Sans, Noto Sans Symbols, "
                     "Noto Sans Symbols 2); modified version.",
        "familyName": FAMILY,
        "styleName": "Regular",
        "uniqueFontIdentifier": FAMILY + " Regular",
        "fullName": FAMILY,
        "psName": "Glyphar-v3",
        "version": "Version 3.000",
        "licenseDescription": "This Font Software is licensed under the SIL Open Font "
                              "License, Version 1.1.",
        "licenseInfoURL": "https://openfontlicense.org",
    })
    fb.setupOS2(sTypoAscender=1069, sTypoDescender=-293, sTypoLineGap=0,
                usWinAscent=1069, usWinDescent=293, sxHeight=536, sCapHeight=714,
                achVendID="PLRN", fsType=0)
    fb.setupPost()
    fb.setupMaxp()
    # A fixed time stamp (seconds since 1904) so that a rerun gives the same bytes.
    fb.font["head"].created = fb.font["head"].modified = FONT_TIMESTAMP
    path = os.path.join(out_dir, "Glyphar3.ttf")
    fb.save(path)

    with open(COPYRIGHT_FILE, encoding="utf-8") as f:
        text = f.read()
    m = re.search(r"^License: OFL-1\.1\n((?: .*\n?)+)", text, re.M)
    body = "\n".join("" if line.strip() == "." else line[1:] for line in m.group(1).splitlines())
    with open(os.path.join(out_dir, "Glyphar3-OFL.txt"), "w", encoding="utf-8") as f:
        f.write("Glyphar v.3.0 is a modified version of Noto Sans, Noto Sans Symbols and\n"
                "Noto Sans Symbols 2 (Debian fonts-noto-core), built by tools/make_symbol_font.py.\n\n"
                "Copyright 2010, 2012-2020 Google Inc.; 2015-2020 Google LLC.\n\n"
                "This Font Software is licensed under the SIL Open Font License, Version 1.1.\n\n")
        f.write(body.strip() + "\n")
    print("%s: %d glyphs, %d bytes" % (path, len(order), os.path.getsize(path)))


if __name__ == "__main__":
    main()

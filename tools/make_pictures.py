#!/usr/bin/python3
"""Draw the fixed artwork of the main window: the title page, the page
"Астрология" and their clickable cards.

Run with Debian's Python and Pillow (python3-pil); fonts come from
fonts-noto-core.  Every random choice is seeded, so a rerun on the same
Pillow gives the same pictures.

    /usr/bin/python3 tools/make_pictures.py [--out DIR]

The default output directory is resources/pictures/ of the repository.
"""

import argparse
import math
import os
import random
import sys

from PIL import Image, ImageDraw, ImageFilter, ImageFont

NOTO = "/usr/share/fonts/truetype/noto/"
FONT_SERIF_BOLD = NOTO + "NotoSerif-Bold.ttf"
FONT_SERIF_ITALIC = NOTO + "NotoSerif-Italic.ttf"
FONT_SYMBOLS = NOTO + "NotoSansSymbols-Regular.ttf"     # planets, zodiac
FONT_SYMBOLS2 = NOTO + "NotoSansSymbols2-Regular.ttf"   # the Sun, stars

SS = 4          # supersampling factor: draw big, scale down smoothly
JPEG_QUALITY = 88

# Palette: night sky, old gold, parchment.
SKY_TOP = (9, 18, 46)
SKY_BOTTOM = (24, 42, 88)
GOLD = (206, 174, 98)
GOLD_DIM = (150, 126, 74)
CREAM = (244, 233, 204)
CARD_TOP = (38, 62, 120)
CARD_BOTTOM = (20, 36, 80)

ZODIAC = [chr(c) for c in range(0x2648, 0x2654)]          # Aries .. Pisces
SUN = "\u2609"
MOON = "\u263D"
PLANETS = ["\u263F", "\u2640", "\u2642", "\u2643", "\u2644",
           "\u2645", "\u2646", "\u2647"]                    # Mercury .. Pluto


# ---------------------------------------------------------------- helpers

_font_cache = {}


def font(path, size):
    key = (path, size)
    if key not in _font_cache:
        _font_cache[key] = ImageFont.truetype(path, size)
    return _font_cache[key]


def symbol_font(ch, size):
    """The Noto face that has the given symbol."""
    return font(FONT_SYMBOLS2 if ch in (SUN, "\u2605", "\u2726", "\u2727")
                else FONT_SYMBOLS, size)


def mix(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def vertical_gradient(w, h, top, bottom):
    col = Image.new("RGB", (1, h))
    for y in range(h):
        col.putpixel((0, y), mix(top, bottom, y / max(1, h - 1)))
    return col.resize((w, h))


def radial_glow(w, h, cx, cy, radius, color, strength):
    """A soft light patch to lay over a sky with screen-like addition."""
    layer = Image.new("L", (w, h), 0)
    d = ImageDraw.Draw(layer)
    d.ellipse([cx - radius, cy - radius, cx + radius, cy + radius],
              fill=int(255 * strength))
    layer = layer.filter(ImageFilter.GaussianBlur(radius * 0.6))
    solid = Image.new("RGB", (w, h), color)
    return solid, layer


def sky(w, h, seed, stars=260, glow=None):
    """Deep-blue night sky with seeded stars, drawn at full scale."""
    rnd = random.Random(seed)
    img = vertical_gradient(w, h, SKY_TOP, SKY_BOTTOM)
    if glow:
        solid, mask = radial_glow(w, h, *glow)
        img = Image.composite(solid, img, mask)
    # A faint band of haze across the sky.
    haze = Image.new("L", (w, h), 0)
    hd = ImageDraw.Draw(haze)
    for _ in range(140):
        t = rnd.random()
        x = t * w
        y = h * (0.85 - 0.6 * t) + rnd.gauss(0, h * 0.07)
        r = rnd.uniform(0.02, 0.06) * w
        hd.ellipse([x - r, y - r, x + r, y + r], fill=rnd.randint(6, 14))
    haze = haze.filter(ImageFilter.GaussianBlur(w * 0.03))
    img = Image.composite(Image.new("RGB", (w, h), (120, 140, 200)), img, haze)
    # Stars: many faint ones, a few bright ones with a soft halo.
    glowl = Image.new("L", (w, h), 0)
    gd = ImageDraw.Draw(glowl)
    d = ImageDraw.Draw(img)
    for _ in range(stars):
        x, y = rnd.uniform(0, w), rnd.uniform(0, h)
        b = rnd.random() ** 2.2
        r = (0.5 + 1.6 * b) * SS
        tint = mix((200, 215, 255), (255, 240, 210), rnd.random())
        c = mix(SKY_BOTTOM, tint, 0.35 + 0.65 * b)
        d.ellipse([x - r, y - r, x + r, y + r], fill=c)
        if b > 0.55:
            gr = r * 4
            gd.ellipse([x - gr, y - gr, x + gr, y + gr], fill=int(50 * b))
    glowl = glowl.filter(ImageFilter.GaussianBlur(3 * SS))
    img = Image.composite(Image.new("RGB", (w, h), (210, 220, 255)), img, glowl)
    return img


def circle(d, cx, cy, r, color, width):
    d.ellipse([cx - r, cy - r, cx + r, cy + r], outline=color, width=width)


def polar(cx, cy, r, deg):
    a = math.radians(deg)
    return cx + r * math.cos(a), cy - r * math.sin(a)


def glyph(d, xy, ch, size, fill):
    d.text(xy, ch, font=symbol_font(ch, size), fill=fill, anchor="mm")


def wrap_two_lines(text, fnt, max_width):
    """The title on one line if it fits, else split at the space that gives
    the most even lines; a short word ("и", "в") never ends the first line."""
    if fnt.getlength(text) <= max_width or " " not in text:
        return [text]
    words = text.split(" ")
    best = None
    for i in range(1, len(words)):
        a, b = " ".join(words[:i]), " ".join(words[i:])
        width = max(fnt.getlength(a), fnt.getlength(b))
        if len(words[i - 1]) <= 2:
            width += 10 ** 6
        if best is None or width < best[0]:
            best = (width, [a, b])
    return best[1]


def fit_title(text, path, size, max_width):
    """Largest size not above the given one at which the title fits in
    two lines of the given width."""
    while size > 8 * SS:
        f = font(path, size)
        lines = wrap_two_lines(text, f, max_width)
        if len(lines) <= 2 and all(f.getlength(l) <= max_width for l in lines):
            return f, lines
        size -= SS
    f = font(path, size)
    return f, wrap_two_lines(text, f, max_width)


def zodiac_wheel(d, cx, cy, r, color, width, glyph_color=None, glyph_size=None,
                 ticks=True):
    """Ring of the twelve signs: outer and inner circle, sector lines, glyphs."""
    r_in = r * 0.78
    circle(d, cx, cy, r, color, width)
    circle(d, cx, cy, r_in, color, width)
    circle(d, cx, cy, r * 1.035, color, max(1, width // 2))
    for k in range(12):
        p1 = polar(cx, cy, r_in, k * 30)
        p2 = polar(cx, cy, r, k * 30)
        d.line([p1, p2], fill=color, width=width)
    if ticks:
        for k in range(72):
            if k % 6 == 0:
                continue
            p1 = polar(cx, cy, r, k * 5)
            p2 = polar(cx, cy, r * 1.035, k * 5)
            d.line([p1, p2], fill=color, width=max(1, width // 2))
    gs = glyph_size or int((r - r_in) * 0.62)
    for k, ch in enumerate(ZODIAC):
        # Aries starts at the left (the ascendant side), signs go anticlockwise.
        x, y = polar(cx, cy, (r + r_in) / 2, 180 + k * 30 + 15)
        glyph(d, (x, y), ch, gs, glyph_color or color)
    return r_in


def finish(img, size, path):
    img = img.resize(size, Image.LANCZOS)
    img.save(path, "JPEG", quality=JPEG_QUALITY, subsampling=0,
             optimize=False, progressive=False)
    return img


# ---------------------------------------------------------------- cards

def card_base(w, h, seed):
    """A raised card: soft gradient, faint stars, a bevel and a gold frame,
    so that it reads as something to click."""
    W, H = w * SS, h * SS
    img = vertical_gradient(W, H, CARD_TOP, CARD_BOTTOM)
    rnd = random.Random(seed)
    d = ImageDraw.Draw(img)
    for _ in range(int(w * h / 700)):
        x, y = rnd.uniform(0, W), rnd.uniform(0, H)
        r = rnd.uniform(0.4, 1.0) * SS
        d.ellipse([x - r, y - r, x + r, y + r],
                  fill=mix(CARD_BOTTOM, (200, 210, 240), rnd.uniform(0.2, 0.5)))
    # Bevel: light upper-left edges, dark lower-right edges.
    bw = 2 * SS
    light, dark = (120, 146, 200), (6, 12, 30)
    d.polygon([(0, 0), (W, 0), (W - bw, bw), (bw, bw), (bw, H - bw), (0, H)],
              fill=light)
    d.polygon([(W, H), (0, H), (bw, H - bw), (W - bw, H - bw), (W - bw, bw),
               (W, 0)], fill=dark)
    # Double gold frame with rounded corners.
    m = 6 * SS
    d.rounded_rectangle([m, m, W - m, H - m], radius=6 * SS, outline=GOLD,
                        width=max(1, SS))
    m2 = m + 3 * SS
    d.rounded_rectangle([m2, m2, W - m2, H - m2], radius=4 * SS,
                        outline=GOLD_DIM, width=max(1, SS // 2))
    return img, d


def card(w, h, seed, title, emblem, emblem_box, text_top, text_size):
    """Card with an emblem drawn by `emblem(d, cx, cy, size)` in the box
    (cx, cy, size) and the title lettered below it."""
    img, d = card_base(w, h, seed)
    cx, cy, s = (v * SS for v in emblem_box)
    emblem(d, cx, cy, s)
    W = w * SS
    max_w = W - 26 * SS
    f, lines = fit_title(title, FONT_SERIF_BOLD, text_size * SS, max_w)
    asc, desc = f.getmetrics()
    lh = int((asc + desc) * 0.98)
    y_area_top, y_area_bottom = text_top * SS, (h - 12) * SS
    total = lh * len(lines)
    y = (y_area_top + y_area_bottom - total) / 2 + lh / 2
    for line in lines:
        # A dark shadow under the lettering keeps it legible on the stars.
        d.text((W / 2 + SS, y + SS), line, font=f, fill=(5, 10, 28), anchor="mm")
        d.text((W / 2, y), line, font=f, fill=CREAM, anchor="mm")
        y += lh
    return img


# ---------------------------------------------------------------- emblems

def em_astrolabe(d, cx, cy, s):
    r = s * 0.45
    lw = max(1, int(SS * 1.1))
    # Shackle ring at the top.
    circle(d, cx, cy - r - s * 0.07, s * 0.06, GOLD, lw)
    circle(d, cx, cy, r, GOLD, lw * 2)
    circle(d, cx, cy, r * 0.86, GOLD, lw)
    for k in range(36):
        a = k * 10
        p1 = polar(cx, cy, r * 0.86, a)
        p2 = polar(cx, cy, r * (0.94 if k % 3 else 1.0), a)
        d.line([p1, p2], fill=GOLD, width=lw)
    # Rete: the ecliptic ring set off centre and the tropics.
    circle(d, cx, cy - r * 0.16, r * 0.55, GOLD_DIM, lw)
    circle(d, cx, cy, r * 0.32, GOLD_DIM, lw)
    d.line([polar(cx, cy, r * 0.86, 90), polar(cx, cy, r * 0.86, 270)],
           fill=GOLD_DIM, width=lw)
    d.line([polar(cx, cy, r * 0.86, 0), polar(cx, cy, r * 0.86, 180)],
           fill=GOLD_DIM, width=lw)
    # Alidade: the sighting rule across the face.
    a = 35
    p1, p2 = polar(cx, cy, r * 0.92, a), polar(cx, cy, r * 0.92, a + 180)
    d.line([p1, p2], fill=CREAM, width=lw * 2)
    circle(d, cx, cy, s * 0.035, CREAM, lw)
    for k in (0, 1):
        x, y = polar(cx, cy, r * 0.6, a + 180 * k)
        d.ellipse([x - lw * 2, y - lw * 2, x + lw * 2, y + lw * 2], fill=CREAM)


def em_chart_check(d, cx, cy, s):
    """A small horoscope wheel already drawn, with a tick: the program does
    the astrologer's work."""
    r = s * 0.42
    lw = max(1, int(SS * 1.1))
    circle(d, cx - s * 0.12, cy, r, GOLD, lw * 2)
    circle(d, cx - s * 0.12, cy, r * 0.62, GOLD_DIM, lw)
    for k in range(12):
        d.line([polar(cx - s * 0.12, cy, r * 0.62, k * 30),
                polar(cx - s * 0.12, cy, r, k * 30)], fill=GOLD_DIM, width=lw)
    # Two aspect chords inside.
    pts = [polar(cx - s * 0.12, cy, r * 0.62, a) for a in (20, 140, 260)]
    d.line(pts + [pts[0]], fill=(130, 170, 230), width=lw)
    # The tick.
    x0, y0 = cx + s * 0.12, cy + s * 0.02
    d.line([(x0, y0), (x0 + s * 0.14, y0 + s * 0.16),
            (x0 + s * 0.42, y0 - s * 0.26)], fill=CREAM, width=lw * 4,
           joint="curve")


def em_sun_moon(d, cx, cy, s):
    """The two lights: the Sun with rays and the crescent Moon."""
    lw = max(1, int(SS * 1.1))
    sx, sy, sr = cx - s * 0.2, cy, s * 0.2
    for k in range(16):
        long_ray = k % 2 == 0
        d.line([polar(sx, sy, sr * 1.25, k * 22.5),
                polar(sx, sy, sr * (1.75 if long_ray else 1.5), k * 22.5)],
               fill=GOLD, width=lw * (2 if long_ray else 1))
    d.ellipse([sx - sr, sy - sr, sx + sr, sy + sr], fill=GOLD)
    d.ellipse([sx - sr * 0.18, sy - sr * 0.18, sx + sr * 0.18, sy + sr * 0.18],
              fill=CARD_BOTTOM)
    # Crescent: a light disc with a sky-coloured disc taken off it.
    mx, my, mr = cx + s * 0.33, cy - s * 0.02, s * 0.19
    d.ellipse([mx - mr, my - mr, mx + mr, my + mr], fill=CREAM)
    ox = mx + mr * 0.45
    d.ellipse([ox - mr * 0.9, my - mr * 0.95, ox + mr * 0.9, my + mr * 0.85],
              fill=mix(CARD_TOP, CARD_BOTTOM, 0.35))


def em_venus_mars(d, cx, cy, s):
    """The symbols of Venus and Mars, drawn as two interlinked rings."""
    lw = int(SS * 2.2)
    r = s * 0.2
    vx, vy = cx - r * 0.75, cy - s * 0.04
    mx, my = cx + r * 0.75, cy - s * 0.04
    venus, mars = (236, 170, 170), (150, 190, 240)
    # Venus: ring and a cross below.
    circle(d, vx, vy, r, venus, lw)
    d.line([(vx, vy + r), (vx, vy + r + s * 0.26)], fill=venus, width=lw)
    d.line([(vx - s * 0.1, vy + r + s * 0.13), (vx + s * 0.1, vy + r + s * 0.13)],
           fill=venus, width=lw)
    # Mars: ring and an arrow up to the right.
    circle(d, mx, my, r, mars, lw)
    ax, ay = polar(mx, my, r, 45)
    bx, by = polar(mx, my, r + s * 0.24, 45)
    d.line([(ax, ay), (bx, by)], fill=mars, width=lw)
    d.line([(bx - s * 0.13, by), (bx + lw * 0.35, by)], fill=mars, width=lw)
    d.line([(bx, by - lw * 0.35), (bx, by + s * 0.13)], fill=mars, width=lw)
    # Re-draw a short arc of Venus over Mars so that the rings interlink.
    d.arc([vx - r, vy - r, vx + r, vy + r], start=-40, end=-5, fill=venus,
          width=lw)


def em_planets(d, cx, cy, s):
    """The Sun in the middle and the planet symbols on a wide orbit."""
    lw = max(1, int(SS * 1.1))
    a, b = s * 1.25, s * 0.4
    d.ellipse([cx - a, cy - b, cx + a, cy + b], outline=GOLD_DIM, width=lw)
    glyph(d, (cx, cy), SUN, int(s * 0.4), GOLD)
    syms = [MOON] + PLANETS[:6]
    back = mix(CARD_TOP, CARD_BOTTOM, 0.3)
    for i, ch in enumerate(syms):
        t = math.radians(90 + i * 360 / len(syms))
        x, y = cx + a * math.cos(t), cy - b * math.sin(t)
        rr = s * 0.15
        d.ellipse([x - rr, y - rr, x + rr, y + rr], fill=back)
        glyph(d, (x, y), ch, int(s * 0.3), CREAM)


def em_aspects(d, cx, cy, s):
    """A ring with aspect lines: a trine, a square and an opposition."""
    r = s * 0.44
    lw = max(1, int(SS * 1.1))
    circle(d, cx, cy, r, GOLD, lw * 2)
    circle(d, cx, cy, r * 0.84, GOLD_DIM, lw)
    blue, red, green = (120, 170, 240), (225, 120, 110), (140, 200, 150)
    tri = [polar(cx, cy, r * 0.84, a) for a in (100, 220, 340)]
    d.line(tri + [tri[0]], fill=blue, width=lw * 2)
    sq = [polar(cx, cy, r * 0.84, a) for a in (100, 10)]
    d.line(sq, fill=red, width=lw * 2)
    op = [polar(cx, cy, r * 0.84, a) for a in (55, 235)]
    d.line(op, fill=red, width=lw * 2)
    sx = [polar(cx, cy, r * 0.84, a) for a in (280, 340)]
    d.line(sx, fill=green, width=lw * 2)
    for a in (100, 220, 340, 10, 55, 235, 280):
        x, y = polar(cx, cy, r * 0.84, a)
        d.ellipse([x - lw * 2.5, y - lw * 2.5, x + lw * 2.5, y + lw * 2.5],
                  fill=CREAM)


def em_consult(d, cx, cy, s):
    """A speech bubble with a star: talking with an astrologer."""
    lw = max(1, int(SS * 1.5))
    bw, bh = s * 0.95, s * 0.62
    x0, y0 = cx - bw / 2, cy - bh / 2 - s * 0.06
    d.rounded_rectangle([x0, y0, x0 + bw, y0 + bh], radius=s * 0.18,
                        outline=GOLD, width=lw * 2)
    # The tail of the bubble.
    tx = x0 + bw * 0.28
    ty = y0 + bh
    d.polygon([(tx - s * 0.08, ty - lw), (tx + s * 0.1, ty - lw),
               (tx - s * 0.12, ty + s * 0.2)], fill=GOLD)
    d.line([(tx - s * 0.06, ty - lw * 2), (tx + s * 0.07, ty - lw * 2)],
           fill=mix(CARD_TOP, CARD_BOTTOM, 0.5), width=lw * 2)
    glyph(d, (cx - s * 0.18, y0 + bh / 2), "\u2605", int(s * 0.3), CREAM)
    glyph(d, (cx + s * 0.16, y0 + bh / 2), "\u2643", int(s * 0.32), CREAM)


def em_book(d, cx, cy, s):
    """An open book, for the guide to the program."""
    lw = max(1, int(SS * 1.4))
    w, h = s * 0.95, s * 0.55
    top = cy - h / 2
    page = (236, 226, 196)
    # Left and right pages bowed slightly.
    d.polygon([(cx, top + s * 0.06), (cx - w / 2, top), (cx - w / 2, top + h),
               (cx, top + h + s * 0.06)], fill=page, outline=GOLD)
    d.polygon([(cx, top + s * 0.06), (cx + w / 2, top), (cx + w / 2, top + h),
               (cx, top + h + s * 0.06)], fill=page, outline=GOLD)
    d.line([(cx, top + s * 0.06), (cx, top + h + s * 0.06)], fill=GOLD_DIM,
           width=lw)
    ink = (90, 100, 140)
    for i in range(5):
        y = top + h * (0.22 + 0.15 * i)
        d.line([(cx - w * 0.42, y), (cx - w * 0.08, y + s * 0.012)], fill=ink,
               width=max(1, SS))
    glyph(d, (cx + w * 0.25, top + h * 0.5), "\u2648", int(s * 0.3), ink)
    # Cover edge under the pages.
    d.line([(cx - w / 2 - lw, top + h + lw), (cx, top + h + s * 0.06 + lw * 2),
            (cx + w / 2 + lw, top + h + lw)], fill=GOLD, width=lw * 2)


def em_star_wheel(d, cx, cy, s):
    """An eight-pointed star in a ring, for "about the program"."""
    lw = max(1, int(SS * 1.2))
    r = s * 0.42
    circle(d, cx, cy, r, GOLD, lw * 2)
    circle(d, cx, cy, r * 0.88, GOLD_DIM, lw)
    for k in range(24):
        d.line([polar(cx, cy, r * 0.88, k * 15), polar(cx, cy, r, k * 15)],
               fill=GOLD_DIM, width=lw)
    pts = []
    for k in range(16):
        rr = r * (0.8 if k % 2 == 0 else 0.3)
        if k % 4 == 2:
            rr = r * 0.55
        pts.append(polar(cx, cy, rr, 90 + k * 22.5))
    d.polygon(pts, fill=CREAM, outline=GOLD)
    for k in range(4):
        a = 90 + k * 90
        p0 = polar(cx, cy, r * 0.8, a)
        d.polygon([(cx, cy), p0, polar(cx, cy, r * 0.3, a + 22.5)],
                  fill=GOLD_DIM)
    d.ellipse([cx - lw * 2, cy - lw * 2, cx + lw * 2, cy + lw * 2], fill=GOLD)


# ---------------------------------------------------------------- pages

def title_page(path):
    w, h = 803, 456
    W, H = w * SS, h * SS
    img = sky(W, H, seed=4, stars=420, glow=(int(W * 0.26), int(H * 0.5),
                                             int(H * 0.42), (40, 64, 128), 0.6))
    d = ImageDraw.Draw(img)
    cx, cy, r = W * 0.26, H * 0.5, H * 0.41
    lw = max(1, int(SS * 1.1))
    r_in = zodiac_wheel(d, cx, cy, r, GOLD, lw, glyph_color=CREAM)
    # Inner ring of houses and the planets at rest inside.
    circle(d, cx, cy, r_in * 0.55, GOLD_DIM, lw)
    for k in range(12):
        d.line([polar(cx, cy, r_in * 0.55, k * 30 + 8),
                polar(cx, cy, r_in, k * 30 + 8)], fill=GOLD_DIM,
               width=max(1, SS // 2))
    rnd = random.Random(44)
    syms = [SUN, MOON] + PLANETS
    angles = [k * 36 + rnd.uniform(-12, 12) for k in range(len(syms))]
    for ch, a in zip(syms, angles):
        x, y = polar(cx, cy, r_in * 0.78, a)
        glyph(d, (x, y), ch, int(r_in * 0.12), GOLD)
    # A star of aspect lines in the centre.
    # A few aspect lines in the centre, as in a drawn chart.
    blue, red = (120, 160, 225), (200, 120, 120)
    ends = [polar(cx, cy, r_in * 0.55, a) for a in angles]
    for i, j, c in ((0, 3, blue), (3, 7, blue), (7, 0, blue), (1, 5, red),
                    (2, 8, red), (4, 9, blue), (5, 8, blue)):
        d.line([ends[i], ends[j]], fill=c, width=lw)
    # Title lettering on the right.
    tx = W * 0.745
    f_name = font(FONT_SERIF_BOLD, 66 * SS)
    d.text((tx + 2 * SS, H * 0.2 + 2 * SS), "Pelorin", font=f_name,
           fill=(4, 8, 24), anchor="mm")
    d.text((tx, H * 0.2), "Pelorin", font=f_name, fill=GOLD, anchor="mm")
    d.line([(tx - 150 * SS, H * 0.31), (tx + 150 * SS, H * 0.31)], fill=GOLD_DIM,
           width=max(1, SS))
    glyph(d, (tx, H * 0.31), "\u2726", 14 * SS, GOLD)
    f_sub = font(FONT_SERIF_ITALIC, 19 * SS)
    for i, line in enumerate(["Программа оценки совместимости",
                              "мужчины и женщины"]):
        d.text((tx, H * 0.385 + i * 27 * SS), line, font=f_sub, fill=CREAM,
               anchor="mm")
    finish(img, (w, h), path)


def astrology_page(path):
    w, h = 803, 456
    W, H = w * SS, h * SS
    img = sky(W, H, seed=7, stars=300)
    # A very faint zodiac wheel behind the cards.
    faint = Image.new("RGB", (W, H), (0, 0, 0))
    fd = ImageDraw.Draw(faint)
    zodiac_wheel(fd, W / 2, H * 0.56, H * 0.34, (255, 255, 255), SS * 2,
                 ticks=True)
    mask = faint.convert("L").point(lambda v: v * 26 // 255)
    img = Image.composite(Image.new("RGB", (W, H), (170, 180, 230)), img, mask)
    d = ImageDraw.Draw(img)
    f = font(FONT_SERIF_BOLD, 38 * SS)
    d.text((W / 2 + 2 * SS, 42 * SS + 2 * SS), "Астрология", font=f,
           fill=(4, 8, 24), anchor="mm")
    d.text((W / 2, 42 * SS), "Астрология", font=f, fill=GOLD, anchor="mm")
    half = 170 * SS
    y = 72 * SS
    d.line([(W / 2 - half, y), (W / 2 - 14 * SS, y)], fill=GOLD_DIM, width=SS)
    d.line([(W / 2 + 14 * SS, y), (W / 2 + half, y)], fill=GOLD_DIM, width=SS)
    glyph(d, (W / 2, y), "\u2726", 12 * SS, GOLD)
    # A row of the twelve signs along the foot of the page.
    y = H - 24 * SS
    for k, ch in enumerate(ZODIAC):
        x = W / 2 + (k - 5.5) * 38 * SS
        glyph(d, (x, y), ch, 16 * SS, GOLD_DIM)
    finish(img, (w, h), path)


CARDS = [
    # file, title, emblem, seed
    ("astro_history.jpg", "История астрологии", em_astrolabe, 8),
    ("astro_not_astrologer.jpg", "Не нужно быть астрологом", em_chart_check, 9),
    ("astro_simple.jpg", "Простая астрология", em_sun_moon, 10),
    ("astro_compatibility.jpg", "Астрологическая совместимость",
     em_venus_mars, 11),
    ("astro_planets.jpg", "Планеты и личность", em_planets, 12),
    ("astro_aspects.jpg", "Аспекты и личность", em_aspects, 13),
    ("astro_consult.jpg", "Консультации астролога", em_consult, 16),
]

TITLE_CARDS = [
    ("title_click1.jpg", "О программе", em_star_wheel, 14),
    ("title_click2.jpg", "Как пользоваться программой", em_book, 15),
]


def main(argv=None):
    here = os.path.dirname(os.path.abspath(__file__))
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--out", default=os.path.join(here, "..", "resources",
                                                  "pictures"))
    args = ap.parse_args(argv)
    out = os.path.normpath(args.out)
    os.makedirs(out, exist_ok=True)
    title_page(os.path.join(out, "title.jpg"))
    astrology_page(os.path.join(out, "astrology.jpg"))
    for name, title, emblem, seed in CARDS:
        img = card(180, 120, seed, title, emblem, (90, 37, 46), 62, 15)
        finish(img, (180, 120), os.path.join(out, name))
    for name, title, emblem, seed in TITLE_CARDS:
        img = card(200, 150, seed, title, emblem, (100, 54, 72), 96, 17)
        finish(img, (200, 150), os.path.join(out, name))
    print("pictures written to", out)
    return 0


if __name__ == "__main__":
    sys.exit(main())

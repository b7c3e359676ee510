#!/usr/bin/python3
"""Checks of tools/make_pictures.py: sizes, reproducibility, title layout.

    /usr/bin/python3 tools/test_make_pictures.py
"""

import os
import sys
import tempfile
import unittest

from PIL import Image, ImageChops, ImageStat

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import make_pictures as mp  # noqa: E402

COMMITTED = os.path.join(HERE, "..", "resources", "pictures")

SIZES = {
    "title.jpg": (803, 456),
    "title_click1.jpg": (200, 150),
    "title_click2.jpg": (200, 150),
    "astrology.jpg": (803, 456),
    "astro_history.jpg": (180, 120),
    "astro_not_astrologer.jpg": (180, 120),
    "astro_simple.jpg": (180, 120),
    "astro_compatibility.jpg": (180, 120),
    "astro_planets.jpg": (180, 120),
    "astro_aspects.jpg": (180, 120),
    "astro_consult.jpg": (180, 120),
}


class Pictures(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.TemporaryDirectory()
        cls.a = os.path.join(cls.tmp.name, "a")
        cls.b = os.path.join(cls.tmp.name, "b")
        mp.main(["--out", cls.a])
        mp.main(["--out", cls.b])

    @classmethod
    def tearDownClass(cls):
        cls.tmp.cleanup()

    def test_exactly_the_pictures_with_their_sizes(self):
        self.assertEqual(sorted(os.listdir(self.a)), sorted(SIZES))
        for name, size in SIZES.items():
            with Image.open(os.path.join(self.a, name)) as im:
                self.assertEqual(im.format, "JPEG", name)
                self.assertEqual(im.mode, "RGB", name)
                self.assertEqual(im.size, size, name)

    def test_rerun_gives_the_same_bytes(self):
        for name in SIZES:
            with open(os.path.join(self.a, name), "rb") as fa, \
                    open(os.path.join(self.b, name), "rb") as fb:
                self.assertEqual(fa.read(), fb.read(), name)

    def test_committed_pictures_are_what_the_tool_draws(self):
        # Pixels rather than bytes: another JPEG library may encode the
        # same drawing a little differently.
        for name in SIZES:
            path = os.path.join(COMMITTED, name)
            self.assertTrue(os.path.exists(path), name)
            with Image.open(path) as c, \
                    Image.open(os.path.join(self.a, name)) as n:
                diff = ImageStat.Stat(ImageChops.difference(
                    c.convert("RGB"), n.convert("RGB"))).mean
                self.assertLess(max(diff), 1.0, name)

    def test_titles_fit_the_cards_in_at_most_two_lines(self):
        for _, title, _, _ in mp.CARDS:
            max_w = (180 - 26) * mp.SS
            f, lines = mp.fit_title(title, mp.FONT_SERIF_BOLD, 15 * mp.SS,
                                    max_w)
            self.assertLessEqual(len(lines), 2, title)
            self.assertEqual(" ".join(lines), title)
            for line in lines:
                self.assertLessEqual(f.getlength(line), max_w, line)
            # Legible: not shrunk below 13 px.
            self.assertGreaterEqual(f.size, 13 * mp.SS, title)

    def test_short_word_does_not_end_the_first_line(self):
        f = mp.font(mp.FONT_SERIF_BOLD, 15 * mp.SS)
        lines = mp.wrap_two_lines("Планеты и личность", f, 154 * mp.SS)
        self.assertEqual(lines, ["Планеты", "и личность"])

    def test_cards_are_not_blank(self):
        # The lettering is light on a dark card: the card must hold a fair
        # number of near-cream pixels in its lower half.
        for name, _, _, _ in mp.CARDS:
            with Image.open(os.path.join(self.a, name)) as im:
                low = im.crop((0, 62, 180, 110)).convert("L")
                bright = sum(1 for v in low.getdata() if v > 190)
                self.assertGreater(bright, 150, name)


if __name__ == "__main__":
    unittest.main()

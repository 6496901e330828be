#!/usr/bin/env python3
"""The gallery end to end: its first page shows the 16 standard colours, a key
typed into the window turns the page, `q` typed in the terminal ends it with
exit code 0.

usage: test_gallery.py GALLERY.exe
"""
import os
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from viewer_session import Viewer  # noqa: E402

GALLERY = sys.argv.pop(1)
LIMIT = 60

# The standard palette as a user sees it, written out independently of the
# library's table: what each numbered box must show.
STANDARD = [(0x00, 0x00, 0x00), (0x00, 0x00, 0xB0), (0x00, 0xB0, 0x00), (0x00, 0x80, 0x80),
            (0xB0, 0x00, 0x00), (0x80, 0x00, 0x80), (0xB0, 0x60, 0x00), (0xC0, 0xC0, 0xC0),
            (0x80, 0x80, 0x80), (0x00, 0x00, 0xFF), (0x00, 0xFF, 0x00), (0x00, 0xFF, 0xFF),
            (0xFF, 0x00, 0x00), (0xFF, 0x00, 0xFF), (0xFF, 0xFF, 0x00), (0xFF, 0xFF, 0xFF)]


def box(n):
    """Box n of the first page's 4 x 4 grid, inclusive, 2 pixels inside its frame."""
    x, y = 20 + (n % 4) * 195, 60 + (n // 4) * 120
    return (x + 2, y + 2, x + 77, y + 87)


def first_page(picture):
    return all(picture.count(STANDARD[n], box(n)) == 76 * 86 for n in range(16))


class Gallery(unittest.TestCase):
    def shot_until(self, v, accept):
        deadline = time.monotonic() + LIMIT
        while time.monotonic() < deadline:
            shot = v.screenshot()
            if shot is not None and accept(shot):
                return shot
            time.sleep(0.1)
        self.fail("the expected picture did not appear; last: %r" % (shot and shot.pixel(60, 100),))

    def test_colours_page_turn_and_end(self):
        v = Viewer(GALLERY, os.environ["PLIMO_EMULATOR"], LIMIT)
        self.addCleanup(v.close)
        v.start()
        self.shot_until(v, first_page)
        v.type_window("space")
        self.shot_until(v, lambda p: p.count(STANDARD[1], box(1)) == 0)
        v.type_terminal("q")
        self.assertEqual(v.wait_end(LIMIT), 0, v.stderr())


if __name__ == "__main__":
    unittest.main()

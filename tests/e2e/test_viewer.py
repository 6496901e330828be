#!/usr/bin/env python3
"""The viewer end to end, as a user meets it: plimo.exe in a terminal under
Wine, its window on the test session's display.

usage: test_viewer.py {picture|keys|ending|burst|failure} PLIMO.exe CLOSE_WINDOW.exe INIT_FAIL_PROBE.exe
"""
import os
import subprocess
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
import graph_window  # noqa: E402
from viewer_session import (BLACK, BLUE, CYAN, GREEN, GREY, PILLARS, RED, WIDTH, DEPTH,  # noqa: E402
                            Viewer, camera_after, pillar_box, x_delete_window)

GROUP, PLIMO, CLOSE_WINDOW, INIT_FAIL_PROBE = sys.argv[1:5]
del sys.argv[1:5]
EMULATOR = os.environ["PLIMO_EMULATOR"]
LIMIT = 60
INVERSE = {"i": "k", "k": "i", "j": "l", "l": "j", "u": "o", "o": "u"}
USER_BREAK = b"\n#RTS: unhandled exception #21: USER BREAK\r\n#RTS: call history, innermost first:\r\n"


def undo(keys):
    return "".join(INVERSE[k] for k in reversed(keys))


def expected_boxes(camera):
    boxes = {colour: pillar_box(top, camera) for top, colour in PILLARS}
    shown = [b for b in boxes.values() if b]
    for n, a in enumerate(shown):
        for b in shown[n + 1:]:
            assert a[2] < b[0] or b[2] < a[0] or a[3] < b[1] or b[3] < a[1], \
                f"pillars overlap at camera {camera}: pick another key sequence"
    return boxes


class ViewerTest(unittest.TestCase):
    def viewer(self):
        v = Viewer(PLIMO, EMULATOR, LIMIT)
        self.addCleanup(v.close)
        return v.start()

    @staticmethod
    def pillarsAt(picture, camera):
        return all(picture.bbox(colour) == box and
                   (not box or picture.count(colour) == (box[2] - box[0] + 1) * (box[3] - box[1] + 1))
                   for colour, box in expected_boxes(camera).items())

    def assertPillarsAt(self, picture, camera):
        for colour, box in expected_boxes(camera).items():
            self.assertEqual(picture.bbox(colour), box, f"pillar in {colour} at camera {camera}")
            if box:  # filled solid
                area = (box[2] - box[0] + 1) * (box[3] - box[1] + 1)
                self.assertEqual(picture.count(colour), area, f"pillar in {colour} not solid")

    # After typing: the picture the keys should lead to, once they have arrived.
    def seenPillarsAt(self, v, camera):
        picture = v.picture(until=lambda p: self.pillarsAt(p, camera))
        self.assertPillarsAt(picture, camera)
        return picture

    def assertSees(self, v, expected, message=None):
        self.assertEqual(v.picture(until=lambda p: p == expected), expected, message)

    def assertEnds(self, v, code=0):
        rc = v.wait_end(LIMIT)
        self.assertIsNotNone(rc, "the viewer did not end")
        self.assertEqual(rc, code, v.stderr())


class Picture(ViewerTest):
    def test_the_first_picture(self):
        v = self.viewer()
        p = v.picture()
        # The pillars at the worked-example corners, each filled in its colour.
        self.assertEqual(p.bbox(RED), (390, 344, 410, 429))
        self.assertEqual(p.bbox(BLUE), (75, 400, 125, 599))
        self.assertEqual(p.bbox(CYAN), (475, 328, 488, 382))
        self.assertPillarsAt(p, (0, 0, 0))
        # The ground: light grey lines below the horizon, meeting near (400, 305);
        # the middle one runs straight down at x = 400 where no pillar covers it.
        left, top, right, bottom = p.bbox(GREY)
        self.assertEqual(top, 305)
        self.assertEqual(bottom, DEPTH - 1)
        self.assertLess(left, 10)
        self.assertGreater(right, WIDTH - 10)
        self.assertTrue(all(p.pixel(400, y) == GREY for y in list(range(306, 344)) + list(range(430, 600))))
        self.assertGreater(p.count(GREY, (0, 306, 399, 599)), 600)
        self.assertGreater(p.count(GREY, (401, 306, 799, 599)), 600)
        # The help text: four lines of green from (50, 30) on, nothing else green.
        g = p.bbox(GREEN)
        self.assertTrue(50 <= g[0] < 60 and 30 <= g[1] < 40 and 75 < g[3] < 95, g)
        rows = {y for y in range(g[1], g[3] + 1) if p.count(GREEN, (0, y, WIDTH - 1, y))}
        for line_top in (30, 45, 60, 75):
            self.assertTrue(rows & set(range(line_top, line_top + 15)), f"no text line at y = {line_top}")
        # Everything else is black, the top row and the left column included;
        # other colours (the letters' smoothed edges) only around the text.
        scene = (RED, BLUE, CYAN, GREY, GREEN, BLACK)
        others = WIDTH * DEPTH - sum(p.count(c) for c in scene)
        text = (g[0] - 3, g[1] - 3, g[2] + 3, g[3] + 3)
        text_area = (text[2] - text[0] + 1) * (text[3] - text[1] + 1)
        self.assertEqual(others, text_area - sum(p.count(c, text) for c in scene), "colours other than the scene's")
        self.assertTrue(all(p.pixel(x, 0) == BLACK for x in range(WIDTH)))
        self.assertTrue(all(p.pixel(0, y) == BLACK for y in range(DEPTH)))
        self.assertTrue(v.alive())

    def test_no_stale_pixels_at_the_edges_after_moving_away_and_back(self):
        v = self.viewer()
        start = v.picture()
        # Down by eight steps the ground lines cross the left edge inside the
        # window; a picture erased from (1, 1) would keep those ends in column 0.
        v.type_terminal("oooooooo")
        low = self.seenPillarsAt(v, camera_after("oooooooo"))
        self.assertTrue(any(low.pixel(0, y) == GREY for y in range(DEPTH)), "no line reaches the left edge")
        v.type_terminal("uuuuuuuu")
        self.assertSees(v, start)


class Keys(ViewerTest):
    SEQUENCES = ("iiiiii", "kkjjj", "lluuo", "ilkoj")

    def test_terminal_and_window_keys_move_the_camera_alike(self):
        v = self.viewer()
        start = v.picture()
        for keys in self.SEQUENCES:
            with self.subTest(keys=keys):
                camera = camera_after(keys)
                v.type_terminal(keys)
                typed = self.seenPillarsAt(v, camera)
                v.type_terminal(undo(keys))
                self.assertSees(v, start, f"{undo(keys)} typed in the terminal")
                v.type_window(*keys)
                self.assertSees(v, typed, f"{keys} typed into the window")
                v.type_window(*undo(keys))
                self.assertSees(v, start, f"{undo(keys)} typed into the window")
                if keys == "iiiiii":
                    # Pillar 2 level with the eye lies wholly left of the window.
                    self.assertEqual(typed.count(BLUE), 0)
                    self.assertGreater(typed.count(RED), 0)
                    self.assertGreater(typed.count(CYAN), 0)
                    self.assertGreater(typed.count(GREY), 0)
        v.type_window("q")
        self.assertEnds(v)

    def test_upper_case_letters_do_nothing(self):
        v = self.viewer()
        start = v.picture()
        v.type_terminal("IKJLUOQ")
        self.assertEqual(v.picture(), start)
        v.type_window("shift+i", "shift+j", "shift+u", "shift+q")
        self.assertEqual(v.picture(), start)
        self.assertFalse(v.ended())
        v.type_terminal("l")  # still listening
        self.seenPillarsAt(v, (25, 0, 0))
        v.type_terminal("q")
        self.assertEnds(v)

    def test_a_key_with_a_code_acts_once_the_next_key_arrives(self):
        v = self.viewer()
        start = v.picture()
        # F1 reads as 0, then code 0x3B (';'), which the viewer ignores; the
        # code waits in the key reader until another key is queued.
        v.press_terminal("F1")
        self.assertEqual(v.picture(), start)
        v.type_terminal("l")
        self.seenPillarsAt(v, (25, 0, 0))
        # Alt+F5 reads as 0, then code 0x6C, which is 'l': it moves the camera
        # like 'l' once the next key (here 'k') has arrived.
        before = v.picture()
        v.type_window("alt+F5")
        self.assertEqual(v.picture(), before)
        v.type_window("k")
        self.seenPillarsAt(v, (50, -25, 0))
        v.type_terminal("q")
        self.assertEnds(v)


class Ending(ViewerTest):
    def test_q_ends_with_exit_code_0_and_the_terminal_as_it_was(self):
        v = self.viewer()
        v.picture()
        v.type_terminal("q")
        self.assertEnds(v, 0)
        self.assertEqual(v.stty("after"), v.stty("before"), "terminal input mode not restored")
        self.assertEqual(v.stderr(), b"")
        self.assertEqual(graph_window.ids(), [], "window left behind")

    def break_viewer(self):
        v = self.viewer()
        v.picture()
        # Ctrl+C typed in the terminal; should it not reach the program, the
        # signal the system sends for it.
        v.press_terminal("C-c")
        if v.wait_end(10) is None:
            v.interrupt()
        rc = v.wait_end(LIMIT)
        self.assertIsNotNone(rc, "the viewer did not end after Ctrl+C")
        return v, rc

    def test_ctrl_c_reports_a_user_break(self):
        v, _ = self.break_viewer()
        self.assertTrue(v.stderr().startswith(USER_BREAK), v.stderr())
        self.assertEqual(v.stty("after"), v.stty("before"), "terminal input mode not restored")

    def test_ctrl_c_ends_with_exit_code_9(self):
        _, rc = self.break_viewer()
        self.assertEqual(rc, 9)

    def test_closing_the_window_does_not_end_the_program(self):
        v = self.viewer()
        start = v.picture()
        # The close button and the system menu (SC_CLOSE), then WM_CLOSE.
        closed = subprocess.run([EMULATOR, CLOSE_WINDOW], stdin=subprocess.DEVNULL,
                                capture_output=True, timeout=LIMIT)
        self.assertEqual(closed.returncode, 0, f"2: no window, 3: no answer, 4: the window is gone; "
                         f"stdout {closed.stdout[-2000:]!r}, stderr {closed.stderr[-2000:]!r}")
        # A Linux window manager's close button.
        self.assertTrue(x_delete_window(v.window))
        time.sleep(1)
        self.assertTrue(v.alive())
        self.assertFalse(v.ended())
        self.assertIn(v.window, graph_window.ids())
        self.assertEqual(v.picture(), start)
        v.type_window("l")
        self.seenPillarsAt(v, (25, 0, 0))
        v.type_window("q")
        self.assertEnds(v)


class Burst(ViewerTest):
    """100 keys at once: at most 33 wait in the queue, the others are dropped
    with a beep; those taken act one a frame, in the order typed."""

    KEYS = "l" * 50 + "j" * 50
    # Where pillar 3 (cyan) stands for each camera x: it stays in the window
    # for the whole range the burst can reach.
    CYAN_AT = {pillar_box(PILLARS[2][0], (25 * n, 0, 0)): 25 * n for n in range(0, 51)}

    def camera_x(self, picture):
        box = picture.bbox(CYAN)
        self.assertIn(box, self.CYAN_AT, "a picture from no camera the keys can reach")
        return self.CYAN_AT[box]

    def check_burst(self, v, type_keys):
        start = v.picture()
        type_keys()
        seen = []
        deadline = time.monotonic() + LIMIT
        same = 0
        while same < 5:  # the picture holds still for five screenshots
            self.assertLess(time.monotonic(), deadline, "the picture did not settle")
            shot = v.screenshot()
            # Pillar 3 is drawn last: a shot taken before it is not a whole frame.
            if shot is None or not shot.looks_drawn() or shot.bbox(CYAN) is None:
                continue
            same = same + 1 if seen and shot == seen[-1] else 1
            seen.append(shot)
        xs = [self.camera_x(p) for p in seen]
        peak = xs.index(max(xs))
        # First every 'l' taken, then every 'j': up, then down, never back.
        self.assertEqual(xs[:peak + 1], sorted(xs[:peak + 1]), xs)
        self.assertEqual(xs[peak:], sorted(xs[peak:], reverse=True), xs)
        self.assertGreaterEqual(xs[-1], 0, xs)
        self.assertTrue(v.alive())
        # Still listening; back to the start and out.
        # A few keys at a time, each group taken before the next (none is
        # dropped); each round starts from the camera the picture shows, in
        # case keys of the burst were still on their way when it held still.
        for _ in range(20):
            x = self.camera_x(v.picture())
            if x == 0:
                break
            steps = min(x // 25, 20)
            v.type_terminal("j" * steps)
            v.picture(until=lambda p, x=x - 25 * steps: self.CYAN_AT.get(p.bbox(CYAN)) == x)
        self.assertSees(v, start)
        v.type_terminal("q")
        self.assertEnds(v)
        self.assertNotIn(b"#RTS", v.stderr())

    def test_keys_typed_in_the_terminal(self):
        v = self.viewer()
        self.check_burst(v, lambda: v.type_terminal(self.KEYS))

    def test_keys_typed_into_the_window(self):
        v = self.viewer()
        self.check_burst(v, lambda: v.type_window(*self.KEYS, delay_ms=1))


class Failure(unittest.TestCase):
    def test_no_window_writes_the_message_and_ends_normally(self):
        done = subprocess.run([EMULATOR, INIT_FAIL_PROBE], stdin=subprocess.DEVNULL,
                              capture_output=True, timeout=LIMIT)
        self.assertEqual(done.stdout, b"Sorry, graphics doesn't work\n")
        self.assertEqual(len(done.stdout), 29)
        self.assertEqual(done.returncode, 0)
        # Graph's own box came first, answered; nothing else on the standard error.
        self.assertEqual(done.stderr, b"box|Graph server not run|Graph|0x1010\n")


GROUPS = {"picture": Picture, "keys": Keys, "ending": Ending, "burst": Burst, "failure": Failure}

if __name__ == "__main__":
    suite = unittest.defaultTestLoader.loadTestsFromTestCase(GROUPS[GROUP])
    result = unittest.TextTestRunner(verbosity=2).run(suite)
    sys.exit(0 if result.wasSuccessful() else 1)

"""Runs plimo.exe as a user meets it: in a terminal (a tmux pane on a private
server, so the pane is the program's console), with its window on the display
of the test's Wine session; reads the window's picture from screenshots and
types keys into the terminal or the window.

Standard library only; the outside tools are tmux and xdotool, and
scripts/graph-window.sh (through tests/graph_window.py) for the window and its
screenshots. Every wait here has a time limit."""
import ctypes
import ctypes.util
import os
import shlex
import shutil
import signal
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
import graph_window  # noqa: E402

WIDTH, DEPTH = 800, 600
TOOL_LIMIT = 20  # seconds any one outside tool may take
# Seconds a picture may hold still while keys typed before it are still on their way.
STILL_WRONG = 8

# The standard palette's entries the viewer draws with.
BLACK = (0x00, 0x00, 0x00)
BLUE = (0x00, 0x00, 0xB0)     # 1, pillar 2
GREEN = (0x00, 0xB0, 0x00)    # 2, help text
CYAN = (0x00, 0x80, 0x80)     # 3, pillar 3
RED = (0xB0, 0x00, 0x00)      # 4, pillar 1
GREY = (0xC0, 0xC0, 0xC0)     # 7, ground lines


def run_tool(*args, **kwargs):
    return subprocess.run(args, capture_output=True, timeout=TOOL_LIMIT, **kwargs)


class Picture:
    """One screenshot of the window's drawing area, 8-bit RGB."""

    def __init__(self, rgb):
        assert len(rgb) == WIDTH * DEPTH * 3, len(rgb)
        self.rgb = rgb
        self._masks = {}

    def __eq__(self, other):
        return isinstance(other, Picture) and self.rgb == other.rgb

    def __hash__(self):
        return hash(self.rgb)

    def __repr__(self):
        boxes = ", ".join("%s %s" % (name, self.bbox(c)) for name, c in
                          (("red", RED), ("blue", BLUE), ("cyan", CYAN), ("grey", GREY)))
        return "<Picture %s>" % boxes

    def pixel(self, x, y):
        i = (y * WIDTH + x) * 3
        return tuple(self.rgb[i:i + 3])

    def mask(self, colour):
        """One byte per pixel: 1 where the pixel has exactly this colour."""
        if colour not in self._masks:
            # Per channel a byte of 1 where it matches, ANDed as big integers.
            both = -1
            for k, value in enumerate(colour):
                table = bytes(1 if v == value else 0 for v in range(256))
                both &= int.from_bytes(self.rgb[k::3].translate(table), "big")
            self._masks[colour] = both.to_bytes(WIDTH * DEPTH, "big")
        return self._masks[colour]

    def count(self, colour, box=None):
        m = self.mask(colour)
        if box is None:
            return m.count(1)
        x0, y0, x1, y1 = box
        return sum(m[y * WIDTH + x0:y * WIDTH + x1 + 1].count(1) for y in range(y0, y1 + 1))

    def bbox(self, colour):
        """(left, top, right, bottom), inclusive, of every pixel of the colour; None if none."""
        m = self.mask(colour)
        rows = [y for y in range(DEPTH) if 1 in m[y * WIDTH:(y + 1) * WIDTH]]
        if not rows:
            return None
        left = min(m.index(1, y * WIDTH, (y + 1) * WIDTH) - y * WIDTH for y in rows)
        right = max(m.rindex(1, y * WIDTH, (y + 1) * WIDTH) - y * WIDTH for y in rows)
        return (left, rows[0], right, rows[-1])

    def looks_drawn(self):
        # The help text is drawn before the pillars; a picture caught between
        # the erase and the end of the drawing lacks some of it.
        return self.count(GREEN, (50, 30, 450, 95)) > 400

    def save_ppm(self, path):
        with open(path, "wb") as f:
            f.write(b"P6 %d %d 255\n" % (WIDTH, DEPTH) + self.rgb)


# ---- the expected picture ---------------------------------------------------
# The scene's pillars as the viewer draws them: the oracle for where a pillar
# must be after a camera move. Integer division truncating toward zero.

PILLARS = (((0, 200, 200), RED), ((-300, 0, 200), BLUE), ((300, 400, 200), CYAN))
STEP = 25
MOVES = {"i": (0, STEP, 0), "k": (0, -STEP, 0), "j": (-STEP, 0, 0), "l": (STEP, 0, 0),
         "u": (0, 0, STEP), "o": (0, 0, -STEP)}


def _div(a, b):
    q = abs(a) // abs(b)
    return q if (a >= 0) == (b > 0) else -q


def project(point, camera):
    rx, ry, rz = (p - c for p, c in zip(point, camera))
    if ry == -150:
        ry = -149
    d = ry + 150
    f = _div(ry * 300, d)
    return (_div((300 - f) * rx, 300) + 400, 600 - (f + _div(rz * 150, d)))


def camera_after(keys, camera=(0, 0, 0)):
    for key in keys:
        camera = tuple(c + m for c, m in zip(camera, MOVES.get(key, (0, 0, 0))))
    return camera


def pillar_box(top, camera):
    """The visible box of a pillar drawn whole inside the window's width, or
    None when the viewer leaves it out (a corner left of the window or on or
    above the top edge). Only for cameras that keep pillars apart."""
    (x0, y0) = project((top[0] - 25, top[1], top[2]), camera)
    (x1, y1) = project((top[0] + 25, top[1], 0), camera)
    if x0 < 0 or x1 < 0 or y0 <= 0 or y1 <= 0:
        return None
    left, right = sorted((x0, x1))
    top_y, bottom = sorted((y0, y1))
    if left >= WIDTH or top_y >= DEPTH:
        return None
    return (left, top_y, min(right, WIDTH - 1), min(bottom, DEPTH - 1))


def x_delete_window(window_id):
    """Asks the window to close the way a Linux window manager's close button
    does: a WM_DELETE_WINDOW client message. True when it was sent."""
    lib = ctypes.util.find_library("X11") or "libX11.so.6"
    x11 = ctypes.CDLL(lib)
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x11.XInternAtom.restype = ctypes.c_ulong
    x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    x11.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long, ctypes.c_void_p]
    x11.XFlush.argtypes = [ctypes.c_void_p]
    x11.XCloseDisplay.argtypes = [ctypes.c_void_p]

    class ClientMessage(ctypes.Structure):
        _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                    ("display", ctypes.c_void_p), ("window", ctypes.c_ulong),
                    ("message_type", ctypes.c_ulong), ("format", ctypes.c_int),
                    ("data", ctypes.c_long * 5), ("pad", ctypes.c_long * 12)]  # an XEvent is 24 longs

    display = x11.XOpenDisplay(None)
    if not display:
        return False
    try:
        event = ClientMessage()
        event.type = 33  # ClientMessage
        event.window = window_id
        event.message_type = x11.XInternAtom(display, b"WM_PROTOCOLS", 0)
        event.format = 32
        event.data[0] = x11.XInternAtom(display, b"WM_DELETE_WINDOW", 0)
        event.data[1] = 0  # CurrentTime
        sent = x11.XSendEvent(display, window_id, 0, 0, ctypes.byref(event)) != 0
        x11.XFlush(display)
        return sent
    finally:
        x11.XCloseDisplay(display)


# ---- the running viewer -------------------------------------------------------

class Viewer:
    """plimo.exe in a pane of a private tmux server: the pane is its console."""

    started = 0

    def __init__(self, exe, emulator=None, limit=60):
        self.exe = exe
        self.emulator = emulator if emulator is not None else os.environ.get("PLIMO_EMULATOR", "")
        self.limit = limit
        self.dir = tempfile.mkdtemp(prefix="plimo-e2e-")
        # A server of its own per viewer: a server still ending must not take a new session.
        Viewer.started += 1
        self.socket = "plimo-e2e-%d-%d" % (os.getpid(), Viewer.started)
        self.window = None
        self.wine_pid = None

    # tmux on the private server only
    def tmux(self, *args, check=True):
        done = run_tool("tmux", "-L", self.socket, "-f", "/dev/null", *args)
        if check and done.returncode != 0:
            raise AssertionError("tmux %s: %s" % (" ".join(args), done.stderr.decode(errors="replace")))
        return done

    def path(self, name):
        return os.path.join(self.dir, name)

    def start(self):
        # The window of a viewer that has just ended can outlive its process
        # for a moment: find this viewer's window only once no other is left.
        assert graph_window.wait_gone(self.limit), "a window titled Graph is still open from before"
        run = " ".join(shlex.quote(p) for p in ([self.emulator] if self.emulator else []) + [self.exe])
        d = shlex.quote(self.dir)
        # The shell survives a Ctrl+C sent to the pane's process group (its
        # trap is not inherited), so it still writes the exit code. `stty -g`
        # before and after tells whether the terminal's input mode came back;
        # the exit code's file appears last, once both are written.
        # A watchdog in the pane ends the pane's processes, the viewer among them, once
        # this test's process is gone (killed at its time limit): nothing of a failed
        # test stays behind to take the display from the next one.
        watchdog = f"(while kill -0 {os.getpid()} 2>/dev/null; do sleep 1; done; kill -9 0) & "
        # WINE: the terminal is raw while the program runs, and its console
        # host (conhost.exe --unix, a process of its own) puts it back when it
        # has seen the program end, a moment after the program's process is
        # gone: the "after" mode is read once it is back, or after 10 s.
        settle = (f"n=0; while [ \"$(stty -g)\" != \"$(cat {d}/stty-before)\" ] && [ $n -lt 100 ]; "
                  f"do sleep 0.1; n=$((n+1)); done; ")
        script = (f"trap : INT; {watchdog}stty -g >{d}/stty-before; {run} 2>{d}/stderr; echo $? >{d}/rc.tmp; "
                  f"{settle}stty -g >{d}/stty-after; mv {d}/rc.tmp {d}/rc; sleep {self.limit * 4}")
        self.tmux("new-session", "-d", "-s", "v", "-x", "100", "-y", "30", "sh", "-c", script)
        shell = int(self.tmux("display-message", "-p", "-t", "v", "#{pane_pid}").stdout)
        deadline = time.monotonic() + self.limit
        while self.wine_pid is None:
            self.wine_pid = self._child_of(shell, os.path.basename(self.exe).encode())
            assert time.monotonic() < deadline, "the viewer's process did not start"
            if self.wine_pid is None:
                time.sleep(0.05)
        self.window = graph_window.wait(deadline - time.monotonic(), given_up=self.ended)
        assert not (self.window is None and self.ended()), "the viewer ended at start: %r" % self.stderr()
        assert self.window is not None, "no window titled Graph appeared"
        return self

    @staticmethod
    def _child_of(parent, program):
        """The child of `parent` that runs `program`: the shell's other
        children (stty) come and go around it."""
        for entry in os.listdir("/proc"):
            if not entry.isdigit():
                continue
            try:
                with open(f"/proc/{entry}/stat", "rb") as f:
                    stat = f.read()
                with open(f"/proc/{entry}/cmdline", "rb") as f:
                    command = f.read()
            except OSError:
                continue
            fields = stat[stat.rindex(b")") + 2:].split()
            if int(fields[1]) == parent and program in command:
                return int(entry)
        return None

    def close(self):
        self.tmux("kill-server", check=False)
        if self.wine_pid is not None and self.alive():
            try:
                os.kill(self.wine_pid, signal.SIGKILL)
            except OSError:
                pass
        shutil.rmtree(self.dir, ignore_errors=True)

    def __enter__(self):
        try:
            return self.start()
        except BaseException:
            self.close()
            raise

    def __exit__(self, *exc):
        self.close()

    # the process
    def alive(self):
        try:
            with open(f"/proc/{self.wine_pid}/stat", "rb") as f:
                return b") Z" not in f.read()
        except OSError:
            return False

    def ended(self):
        return os.path.exists(self.path("rc"))

    def wait_end(self, limit=None):
        deadline = time.monotonic() + (limit or self.limit)
        while not self.ended():
            if time.monotonic() > deadline:
                return None
            time.sleep(0.05)
        with open(self.path("rc")) as f:
            return int(f.read())

    def stderr(self):
        try:
            with open(self.path("stderr"), "rb") as f:
                return f.read()
        except OSError:
            return b""

    def stty(self, when):
        with open(self.path("stty-" + when)) as f:
            return f.read().strip()

    def interrupt(self):
        """What the system does for a Ctrl+C: SIGINT, which Wine turns into the console's CTRL_C_EVENT."""
        os.kill(self.wine_pid, signal.SIGINT)

    # keys
    def type_terminal(self, keys):
        """Characters typed in the terminal, as they are."""
        self.tmux("send-keys", "-t", "v", "-l", keys)

    def press_terminal(self, *names):
        """Keys by tmux name (F1, C-c, ...)."""
        self.tmux("send-keys", "-t", "v", *names)

    def type_window(self, *keysyms, delay_ms=30):
        """Keys typed into the focused window (X keysyms, e.g. i, shift+i, alt+F5)."""
        done = run_tool("xdotool", "windowfocus", "--sync", str(self.window),
                        "key", "--delay", str(delay_ms), *keysyms)
        assert done.returncode == 0, done.stderr

    # pictures
    def screenshot(self):
        rgb = graph_window.shot(self.window, WIDTH, DEPTH)
        return Picture(rgb) if rgb is not None else None

    def picture(self, limit=None, repeats=3, until=None):
        """The picture once it holds still: the same fully drawn picture in
        `repeats` screenshots in a row. Keys still queued move the camera once
        a frame, so a still picture also means every key taken so far has
        acted. Keys just typed may not have reached the program yet, though:
        with `until`, wait for a still picture that `until` accepts; one that
        `until` rejects and that has not changed for STILL_WRONG seconds (or the
        last still one at the time limit) is returned for the caller's assertion,
        so that a wrong picture fails within seconds."""
        deadline = time.monotonic() + (limit or self.limit)
        last, same, still, still_since = None, 0, None, 0
        while time.monotonic() < deadline:
            shot = self.screenshot()
            if shot is not None and shot.looks_drawn():
                same = same + 1 if shot == last else 1
                last = shot
                if same >= repeats:
                    if until is None or until(shot):
                        return shot
                    if shot != still:
                        still, still_since = shot, time.monotonic()
                    elif time.monotonic() - still_since >= STILL_WRONG:
                        return still
            time.sleep(0.03)
        if still is not None:
            return still
        raise AssertionError("the picture did not hold still within the time limit")

    def pictures_for(self, seconds):
        """Every fully drawn screenshot taken over the given time, in order."""
        shots = []
        end = time.monotonic() + seconds
        while time.monotonic() < end:
            shot = self.screenshot()
            if shot is not None and shot.looks_drawn():
                shots.append(shot)
        return shots

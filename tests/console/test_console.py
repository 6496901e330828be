"""Whole-program checks of the console library through console_probe.

usage: test_console.py PROBE.exe {idle|mode|output|typed}
"""
import os
import pty
import re
import select
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
import programs  # noqa: E402

PROBE = sys.argv[1]
EMULATOR = os.environ.get("PLIMO_EMULATOR", "")
RUN = [EMULATOR, PROBE] if EMULATOR else [PROBE]
LIMIT = 60


def check_mode():
    r = programs.run(RUN + ["mode"], stdin=subprocess.DEVNULL, timeout=LIMIT)
    assert r.returncode == 0, programs.shown(r, "2: mode not 0x17, 3: not restored")


def check_idle():
    # A file as standard input: the reader thread must not spin on it.
    with tempfile.TemporaryFile() as f:
        r = programs.run(RUN + ["idle"], stdin=f, timeout=LIMIT)
        assert r.returncode == 0, programs.shown(r, "5: a key arrived, 6: reader thread busy")
        # With a console beside it, keys come from the console.
        r = programs.run(RUN + ["redirected"], stdin=f, timeout=LIMIT)
        assert r.returncode == 0, programs.shown(r, "4: no console, 5: the key did not arrive")


EXPECTED_OUTPUT = b"abcSorry, graphics doesn't work\nZ<hi><c><\n>tail!"


def check_output():
    # Into a pipe.
    r = programs.run(RUN + ["output"], stdin=subprocess.DEVNULL, timeout=LIMIT)
    assert r.returncode == 0, programs.shown(r)
    assert r.stdout == EXPECTED_OUTPUT, programs.shown(r)
    # Into a file.
    with tempfile.TemporaryFile() as f:
        r = programs.run(RUN + ["output"], stdin=subprocess.DEVNULL, stdout=f, stderr=subprocess.PIPE, timeout=LIMIT)
        f.seek(0)
        data = f.read()
        assert r.returncode == 0, programs.shown((r.args, r.returncode, data, r.stderr))
        assert data == EXPECTED_OUTPUT, programs.shown((r.args, r.returncode, data, r.stderr))


def read_until(fd, pattern, deadline, seen=b""):
    while not re.search(pattern, seen):
        left = deadline - time.monotonic()
        assert left > 0, f"timed out waiting for {pattern!r}; saw {seen!r}"
        ready, _, _ = select.select([fd], [], [], left)
        if ready:
            try:
                chunk = os.read(fd, 4096)
            except OSError:
                chunk = b""
            if not chunk:
                break
            seen += chunk
    return seen


def read_rest(fd):
    """What the terminal still holds once its program has ended."""
    rest = b""
    while select.select([fd], [], [], 0.2)[0]:
        try:
            chunk = os.read(fd, 4096)
        except OSError:
            break
        if not chunk:
            break
        rest += chunk
    return rest


def typed_session(act, code):
    """console_probe typed on a tty: act(pid, fd, seen) once it is ready, then the exit code."""
    # WINE: with a tty as standard input Wine gives the program a real console,
    # and typed keys arrive as key records with their set-1 scan codes.
    pid, fd = pty.fork()
    if pid == 0:
        os.execvp(RUN[0], RUN + ["typed"])
    seen = b""
    try:
        seen = read_until(fd, rb"ready", time.monotonic() + LIMIT)
        act(fd, seen)
        _, status = os.waitpid(pid, 0)
        pid = 0
        # The terminal shows both of the program's streams (and the emulator's own message).
        seen += read_rest(fd)
        assert os.waitstatus_to_exitcode(status) == code, \
            f"exit code {os.waitstatus_to_exitcode(status)}, expected {code}; the terminal showed {seen[-2000:]!r}"
    finally:
        if pid:
            os.kill(pid, 9)
            os.waitpid(pid, 0)
        os.close(fd)


def check_typed():
    def act(fd, seen):
        assert re.search(rb"mode=17 ready", seen), seen
        for keys in (b"u", b"i", b"\x1bOP", b"\x1b[A", b"q"):  # u, i, F1, Up, q
            os.write(fd, keys)
            time.sleep(0.2)
        seen = read_until(fd, rb"k=71;", time.monotonic() + LIMIT, seen)
        got = re.findall(rb"k=([0-9A-F]{2});", seen)
        assert got == [b"75", b"69", b"00", b"3B", b"00", b"48", b"71"], got
    typed_session(act, 0)


def check_break():
    # Ctrl+C typed while IO_RdKey waits on an empty queue ends the program at once.
    def act(fd, seen):
        time.sleep(0.5)
        os.write(fd, b"\x03")
        read_until(fd, rb"USER BREAK", time.monotonic() + 10, seen)
    typed_session(act, 9)


{"idle": check_idle, "mode": check_mode, "output": check_output, "typed": check_typed,
 "break": check_break}[sys.argv[2]]()
print("ok")

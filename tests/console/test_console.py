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

PROBE = sys.argv[1]
EMULATOR = os.environ.get("PLIMO_EMULATOR", "")
RUN = [EMULATOR, PROBE] if EMULATOR else [PROBE]
LIMIT = 60


def check_mode():
    r = subprocess.run(RUN + ["mode"], stdin=subprocess.DEVNULL, capture_output=True, timeout=LIMIT)
    assert r.returncode == 0, f"exit code {r.returncode} (2: mode not 0x17, 3: not restored)"


def check_idle():
    # A file as standard input: the reader thread must not spin on it.
    with tempfile.TemporaryFile() as f:
        r = subprocess.run(RUN + ["idle"], stdin=f, capture_output=True, timeout=LIMIT)
        assert r.returncode == 0, f"exit code {r.returncode} (5: a key arrived, 6: reader thread busy)"
        # With a console beside it, keys come from the console.
        r = subprocess.run(RUN + ["redirected"], stdin=f, capture_output=True, timeout=LIMIT)
        assert r.returncode == 0, f"exit code {r.returncode} (4: no console, 5: the key did not arrive)"


EXPECTED_OUTPUT = b"abcSorry, graphics doesn't work\nZ<hi><c><\n>tail!"


def check_output():
    # Into a pipe.
    r = subprocess.run(RUN + ["output"], stdin=subprocess.DEVNULL, capture_output=True, timeout=LIMIT)
    assert r.returncode == 0, r.returncode
    assert r.stdout == EXPECTED_OUTPUT, r.stdout
    # Into a file.
    with tempfile.TemporaryFile() as f:
        r = subprocess.run(RUN + ["output"], stdin=subprocess.DEVNULL, stdout=f, timeout=LIMIT)
        assert r.returncode == 0, r.returncode
        f.seek(0)
        data = f.read()
        assert data == EXPECTED_OUTPUT, data


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


def typed_session(act, code):
    """console_probe typed on a tty: act(pid, fd, seen) once it is ready, then the exit code."""
    # WINE: with a tty as standard input Wine gives the program a real console,
    # and typed keys arrive as key records with their set-1 scan codes.
    pid, fd = pty.fork()
    if pid == 0:
        os.execvp(RUN[0], RUN + ["typed"])
    try:
        act(fd, read_until(fd, rb"ready", time.monotonic() + LIMIT))
        _, status = os.waitpid(pid, 0)
        pid = 0
        assert os.waitstatus_to_exitcode(status) == code, status
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

#!/usr/bin/env python3
"""Graph_Init's failures that halt the program: the box's text, caption and
flags, the thread it comes from, exit code 9 after the finalisers, and no
deadlock when the window thread halts while Graph_Init waits for it."""
import os
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
import programs  # noqa: E402

PROBE = sys.argv[1]
EMULATOR = os.environ["PLIMO_EMULATOR"]
FLAGS = "%#x" % (0x1000 | 0x10)  # MB_SYSTEMMODAL | MB_ICONERROR
failures = []


def run(path, env=None, timeout=60):
    try:
        done = subprocess.run([EMULATOR, PROBE, path], capture_output=True, timeout=timeout, env=env)
    except subprocess.TimeoutExpired:
        failures.append(f"{path}: no end within {timeout} s (deadlock?)")
        return None
    return done


def check(path, expected_out, code, env=None, expected_err=b""):
    done = run(path, env)
    if done is None:
        return
    out = done.stdout.replace(b"\r\n", b"\n").decode()
    found = []
    if out != expected_out:
        found.append(f"{path}: stdout {out!r}, expected {expected_out!r}")
    if done.returncode != code:
        found.append(f"{path}: exit code {done.returncode}, expected {code}")
    if expected_err is not None and expected_err not in done.stderr:
        found.append(f"{path}: stderr lacks {expected_err!r}")
    if found:
        # The program's own words, and the emulator's, if it crashed.
        failures.extend(found[:-1] + [found[-1] + "\n  " + programs.shown(done)])


# The class cannot be registered: a box without caption on the caller's
# thread, then exit code 9 after the finalisers; Graph_Init never returns.
check("register", f"box|Win class was not registered|(none)|{FLAGS}|main\nfinaliser\n", 9)

# The window cannot be made: the window thread shows the box and halts the
# program while Graph_Init waits for the window-ready signal.
check("create", f"box|Couldn't create main window|(none)|{FLAGS}|other\nfinaliser\n", 9)

# The normal case ends with exit code 0, the window still open.
check("open", "returned TRUE\nfinaliser\n", 0)

# Repaints forced while Graph_Init selects its font into the window DC: the
# font is there afterwards, every time.
for _ in range(5):
    check("repaints", "returned TRUE\nFixedsys\nfinaliser\n", 0)

# No display at all: the box cannot be shown, so its text goes to the
# standard error, and the program still ends with exit code 9.
env = dict(os.environ)
env.pop("DISPLAY", None)
check("real-box", "finaliser\n", 9, env=env, expected_err=b"Couldn't create main window\n")

# The soft start without a display: false with the reason, no box, no halt.
check("try", "returned FALSE\nwhy|Couldn't create main window\nfinaliser\n", 0, env=env)
# A back buffer that cannot be made is a failure: the reason (soft), or the
# box captioned "Graph" and false (Graph_Init); never a window without one.
check("try-huge", "returned FALSE\nwhy|Back buffer not created\nfinaliser\n", 0)
check("huge", f"box|Back buffer not created|Graph|{FLAGS}|main\nreturned FALSE\nfinaliser\n", 0)
# A program that forgot Graph_BEGIN still draws (and its finaliser runs).
check("no-begin", "returned TRUE\ndrawn\nfinaliser\n", 0)

for f in failures:
    print("FAIL:", f)
sys.exit(1 if failures else 0)

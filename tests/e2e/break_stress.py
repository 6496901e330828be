#!/usr/bin/env python3
"""Ctrl+C at any moment: breaks at random moments of the viewer's frame loop,
single and doubled 30 ms apart. Prints, per kind, how many runs ended with one
whole user-break report, exit code 9 and the terminal's input mode restored.
Not part of the test suite (it takes minutes); run it in a Wine session:

  bash scripts/wine-session.sh build/win64 python3 tests/e2e/break_stress.py build/win64/plimo.exe [SINGLE DOUBLE]
"""
import os
import random
import re
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from viewer_session import Viewer  # noqa: E402

REPORT = re.compile(rb"\A\n#RTS: unhandled exception #21: USER BREAK\r\n"
                    rb"#RTS: call history, innermost first:\r\n(?:  [^\r\n]+\r\n)+\Z")
EMULATOR = os.environ.get("PLIMO_EMULATOR") or "/usr/lib/wine/wine64"  # wine-session sets the prefix


def one_run(exe, breaks):
    with Viewer(exe, EMULATOR, 60) as v:
        v.picture(repeats=1)
        tty = v.tmux("display-message", "-p", "-t", "v", "#{pane_tty}").stdout.decode().strip()
        time.sleep(random.uniform(0, 0.5))  # some moment of the loop
        # Typed in the terminal, as a user breaks. NOTE: a SIGINT sent to the
        # process instead sometimes hangs Wine itself (it starts the break's
        # thread from within the signal handler).
        for n in range(breaks):
            if n:
                time.sleep(0.03)
            v.press_terminal("C-c")
        rc = v.wait_end(30)
        err = v.stderr()
        whole = REPORT.match(err) is not None
        restored = rc is not None and v.stty("after") == v.stty("before")
        mode = ""
        if not restored and rc is not None:
            # NOTE: under Wine the terminal's mode is put back by Wine's console
            # process, which may end a moment after the program: look again.
            time.sleep(1)
            later = subprocess.run(["stty", "-g", "-F", tty], capture_output=True, text=True).stdout.strip()
            restored = later == v.stty("before")
            mode = "%s -> %s, a second later %s" % (v.stty("before"), v.stty("after"), later)
        return rc == 9 and whole and restored, (rc, whole, restored, mode, err[:120])


def main():
    exe = sys.argv[1]
    counts = (int(sys.argv[2]), int(sys.argv[3])) if len(sys.argv) > 3 else (50, 20)
    for breaks, runs in zip((1, 2), counts):
        good = 0
        for _ in range(runs):
            ok, detail = one_run(exe, breaks)
            good += ok
            if not ok:
                print("  run failed: rc=%r whole report=%r mode restored=%r %s stderr=%r" % detail, flush=True)
        print("%s breaks: %d of %d runs ended with one whole report, exit 9, mode restored"
              % ("single" if breaks == 1 else "double", good, runs), flush=True)


if __name__ == "__main__":
    main()

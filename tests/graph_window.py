"""The window titled "Graph" on the test session's display, for the tests:
which such windows are open, waiting for one, and screenshots. The work is
done by scripts/graph-window.sh, the same helper the scripts use."""
import os
import subprocess
import time

SCRIPT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "scripts", "graph-window.sh")
TOOL_LIMIT = 20  # seconds one call of the helper may take


def _run(*args):
    return subprocess.run(["bash", SCRIPT, *args], capture_output=True, timeout=TOOL_LIMIT)


def ids():
    """The ids of the windows titled Graph now."""
    return [int(w) for w in _run("ids").stdout.split()]


def wait(limit, given_up=lambda: False):
    """The first window titled Graph to appear within `limit` seconds; None
    when none does or given_up() says that none will."""
    deadline = time.monotonic() + limit
    while True:
        found = ids()
        if found:
            return found[0]
        if given_up() or time.monotonic() >= deadline:
            return None
        time.sleep(0.1)


def wait_gone(limit):
    """True once no window titled Graph is left, False if one still is after
    `limit` seconds."""
    deadline = time.monotonic() + limit
    while ids():
        if time.monotonic() >= deadline:
            return False
        time.sleep(0.1)
    return True


def shot(window, width, depth):
    """The window's top-left width x depth pixels as 8-bit RGB bytes, or None."""
    done = _run("shot", str(window), "rgb:-", f"{width}x{depth}")
    if done.returncode != 0 or len(done.stdout) != width * depth * 3:
        return None
    return done.stdout

"""What a program a test ran said, for the test's failure messages.

A test that runs a program and fails shows that program's exit code, standard
output and standard error, so that a failure can be told from the i386
emulator's own crash ("qemu: uncaught target signal ..."), which the 32-bit
lanes' re-run rule looks for in the test's output (scripts/win32-lane.sh).

    import programs                       # tests/ on sys.path
    r = programs.run([EMULATOR, PROBE, "mode"], stdin=subprocess.DEVNULL)
    assert r.returncode == 0, programs.shown(r, "2: mode not 0x17")

programs.TestCase (unittest) adds the programs its test ran to every failed
assertion's message.
"""
import subprocess
import unittest

LIMIT = 2000  # bytes of each stream shown, from its end
ran = []  # (args, exit code, stdout, stderr) of the programs the current test ran


def tail(data):
    if data is None:
        return "(not captured)"
    return repr(data[-LIMIT:] if len(data) > LIMIT else data)


def shown(result, why=None):
    """One line per stream of RESULT (a CompletedProcess or an (args, code, out, err) tuple)."""
    if isinstance(result, tuple):
        args, code, out, err = result
    else:
        args, code, out, err = result.args, result.returncode, result.stdout, result.stderr
    name = " ".join(str(a) for a in args[1:]) if isinstance(args, (list, tuple)) else str(args)
    head = f"{why}; " if why else ""
    return f"{head}{name}: exit code {code}\n  stdout: {tail(out)}\n  stderr: {tail(err)}"


def note(args, code, out, err):
    """Records a program run some other way (Popen, a pty) for the failure messages."""
    ran.append((args, code, out, err))


def run(args, **kwargs):
    """subprocess.run with the output captured (unless redirected) and recorded."""
    if "stdout" not in kwargs and "stderr" not in kwargs:
        kwargs["capture_output"] = True
    result = subprocess.run(args, **kwargs)
    ran.append((result.args, result.returncode, result.stdout, result.stderr))
    return result


class TestCase(unittest.TestCase):
    """Every failed assertion also shows the last programs its test ran."""

    def setUp(self):
        ran.clear()
        super().setUp()

    def _formatMessage(self, msg, standardMsg):
        text = super()._formatMessage(msg, standardMsg)
        return text + "".join("\n" + shown(r) for r in ran[-3:])

"""The program frame's end of a process, seen from outside: exit codes, the
report on the standard error (byte for byte), finalisers, the console break.

Runs tests/frame/fault_probe.exe under Wine; the probe's argument picks the path.
Finalisers of the probe write their names to the standard output.

On the i686 build under the user-mode i386 emulator (PLIMO_EMULATED=1) some
processor faults do not reach the program as they would on a real CPU (the
README's section on the 32-bit build): there the tests check what the emulator
delivers, and say so in a line starting "emulator limit:". Under the emulator
built with our patch (scripts/win32-exact.sh sets PLIMO_EXACT_EMULATOR=1) they
expect what a processor delivers."""
import os
import re
import signal
import subprocess
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
import programs  # noqa: E402

EMULATOR = os.environ["PLIMO_EMULATOR"]
PROBE = sys.argv.pop(1)
LIMIT = 60  # seconds any single run may take
# Faults arrive as the emulator delivers them, not as a processor does.
EMULATED = os.environ.get("PLIMO_EMULATED") == "1" and os.environ.get("PLIMO_EXACT_EMULATOR") != "1"

HISTORY = re.compile(rb"#RTS: call history, innermost first:\r\n((?:  [^\r\n]+\r\n)+)\Z")
FRAME = re.compile(rb"  fault_probe\.exe\+0x[0-9A-F]+")


def run(*args):
    return programs.run([EMULATOR, PROBE, *args], stdin=subprocess.DEVNULL, timeout=LIMIT)


def emulator_limit(test, why):
    print(f"emulator limit: {test.id().split('.')[-1]}: {why}", flush=True)


def filter_receives(path):
    """The exception code the fault filter receives on PATH (the probe's diagnostic path), or None."""
    found = re.search(rb"filter receives: code ([0-9A-F]+) ", run("diag", path).stdout)
    return found and found.group(1).decode()


# NOTE: qemu-i386 leaves the signal context's trap number at -1 for the faults
# it raises; Wine's 32-bit signal handlers classify by that number, log "Got
# unexpected trap -1" and pick a default exception code.
NO_TRAP_NUMBER = "the emulator's signal context has no trap number (-1), so Wine"
# What an integer division by zero becomes there.
DIVIDE = (7, b"real overflow") if EMULATED else (6, b"zero or negative divisor")


class Traps(programs.TestCase):
    def assertReport(self, result, number, message, finalisers=b"finA\n"):
        head = b"\n#RTS: unhandled exception #%d: %s\r\n" % (number, message)
        self.assertTrue(result.stderr.startswith(head), result.stderr)
        history = HISTORY.match(result.stderr, len(head))
        self.assertIsNotNone(history, result.stderr)
        # The listing starts in the probe itself, at the fault.
        self.assertRegex(history.group(1).split(b"\r\n")[0], FRAME)
        self.assertEqual(result.returncode, 9)
        self.assertEqual(result.stdout, finalisers, "finalisers run after the report")

    def test_failed_range_check(self):
        self.assertReport(run("range"), 1, b"expression out of bounds")

    def assertUnmappedIllegalInstruction(self, path):
        # EXCEPTION_ILLEGAL_INSTRUCTION maps to no trap: the program ends with its code.
        self.assertEqual(filter_receives(path), "C000001D")
        result = run(path)
        self.assertEqual((result.returncode, result.stdout, result.stderr), (0x1D, b"", b""))

    def test_integer_division_by_zero(self):
        if EMULATED:
            emulator_limit(self, f"{NO_TRAP_NUMBER} raises EXCEPTION_FLT_INVALID_OPERATION (trap 7)")
            self.assertEqual(filter_receives("divide"), "C0000090")
            return self.assertReport(run("divide"), *DIVIDE)
        self.assertEqual(filter_receives("divide"), "C0000094")
        self.assertReport(run("divide"), 6, b"zero or negative divisor")

    def test_invalid_pointer(self):
        if EMULATED:
            emulator_limit(self, f"{NO_TRAP_NUMBER} raises EXCEPTION_ILLEGAL_INSTRUCTION")
            return self.assertUnmappedIllegalInstruction("pointer")
        self.assertEqual(filter_receives("pointer"), "C0000005")
        self.assertReport(run("pointer"), 3, b"invalid location")

    def assertFlaggedNotRaised(self, path):
        # The start-up control word is in force and the exception pending (ES, ZE).
        emulator_limit(self, "the emulator raises no unmasked x87 exception, it only flags it")
        result = run(path)
        status = re.match(rb"%s did not trap: control word 0332, status word ([0-9A-F]{4})\n" % path.encode(),
                          result.stdout)
        self.assertIsNotNone(status, result.stdout)
        self.assertEqual(int(status.group(1), 16) & 0xBF, 0x84)

    def test_x87_division_by_zero_under_the_start_up_control_word(self):
        if EMULATED:
            return self.assertFlaggedNotRaised("x87")
        self.assertEqual(filter_receives("x87"), "C000008E")
        self.assertReport(run("x87"), 8, b"float division by zero")

    def test_finalisers_that_fault_after_a_trap_end_silently_and_the_next_runs(self):
        # The fault's frame holds no stale code addresses: the system's
        # unwinder finds the handlers only through the trap entry's own frame.
        if EMULATED:
            emulator_limit(self, f"{NO_TRAP_NUMBER} raises EXCEPTION_FLT_INVALID_OPERATION (trap 7)")
        self.assertReport(run("divide-filled", "faulting"), *DIVIDE, b"finFaulting\nfinFaulting\nfinA\n")

    def test_double_division_by_zero_traps_as_on_the_x87(self):
        if EMULATED:  # i686 code computes doubles on the x87 unit
            return self.assertFlaggedNotRaised("double")
        self.assertReport(run("double"), 8, b"float division by zero")

    def test_numbers_without_a_message(self):
        self.assertReport(run("trap15"), 15, b"TRAP(15)")
        self.assertReport(run("trap99"), 99, b"TRAP(99)")

    def test_fault_on_another_thread_ends_the_program_the_same_way(self):
        if EMULATED:
            emulator_limit(self, f"{NO_TRAP_NUMBER} raises EXCEPTION_ILLEGAL_INSTRUCTION")
            return self.assertUnmappedIllegalInstruction("thread")
        self.assertReport(run("thread"), 3, b"invalid location")

    def test_stack_overflow(self):
        if EMULATED:
            # Wine never sees the guard page; raising its exception on the
            # exhausted stack faults again inside its own signal handler.
            emulator_limit(self, f"{NO_TRAP_NUMBER} misses the guard page; qemu ends the process")
        for path in ("stack", "thread-stack"):
            if EMULATED:
                result = run(path)
                self.assertEqual(result.stdout, b"")
                self.assertIn(b"qemu: uncaught target signal 11", result.stderr)
                continue
            self.assertEqual(filter_receives(path), "C00000FD")
            self.assertReport(run(path), 23, b"stack overflow")
            self.assertReport(run(path, "faulting"), 23, b"stack overflow", b"finFaulting\nfinFaulting\nfinA\n")

    def test_unmapped_exception_ends_without_report_or_finalisers(self):
        result = run("breakpoint")
        self.assertEqual(result.stderr, b"")
        self.assertEqual(result.stdout, b"")
        self.assertNotIn(result.returncode, (0, 9))

    def test_non_continuable_exception(self):
        result = run("noncontinuable")
        self.assertEqual(result.stderr, b"#RTS: Unable to handle an exception.\r\n")
        self.assertEqual(result.stdout, b"")
        self.assertNotIn(result.returncode, (0, 9))


class Ending(programs.TestCase):
    def test_body_returning_exits_0_after_the_finalisers(self):
        result = run("return")
        self.assertEqual((result.returncode, result.stdout, result.stderr), (0, b"finA\n", b""))

    def test_halt_and_abort_codes(self):
        # Wine hands the Windows exit code to Linux, which keeps its low 8 bits.
        for code in (0, 1, 42, 255, 256 + 7):
            result = run("halt", str(code))
            self.assertEqual((result.returncode, result.stdout), (code & 0xFF, b"finA\n"))
        result = run("abort")
        self.assertEqual((result.returncode, result.stdout), (9, b"finA\n"))

    def test_finalisers_run_last_registered_first(self):
        self.assertEqual(run("order").stdout, b"finC\nfinB\nfinA\n")

    def test_a_faulting_finaliser_ends_silently_and_the_next_runs(self):
        result = run("faulting-finaliser")
        self.assertEqual((result.returncode, result.stdout, result.stderr),
                         (0, b"finC\nfinFaulting\nfinA\n", b""))

    def test_exit_reentered_from_a_finaliser_ends_at_once_with_its_code(self):
        result = run("reentered-exit")
        self.assertEqual((result.returncode, result.stdout), (7, b"finC\nfinHalting\n"))


class CommandLine(programs.TestCase):
    def test_arguments_reach_the_body_split_and_argument_0_is_the_full_path(self):
        result = run("args", "two words", 'quote"inside', "")
        lines = result.stdout.split(b"\n")
        # Wine quotes arguments with blanks and escapes quotes as \"; the empty
        # argument is dropped by the splitter.
        self.assertEqual(lines[0], b"4", result.stdout)
        self.assertRegex(lines[1], rb"^\[[A-Z]:\\.*\\fault_probe\.exe\]$")
        self.assertEqual(lines[2:5], [b"[args]", b"[two words]", b'[quote"inside]'])


class UserBreak(programs.TestCase):
    """Ctrl+C reaches the process as SIGINT, which Wine turns into CTRL_C_EVENT."""

    def interrupt(self, *args):
        probe = subprocess.Popen([EMULATOR, PROBE, *args], stdin=subprocess.DEVNULL,
                                 stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        try:
            self.assertEqual(probe.stdout.readline(), b"ready\n")
            probe.send_signal(signal.SIGINT)
            out, err = probe.communicate(timeout=LIMIT)
        finally:
            if probe.poll() is None:
                probe.kill()
                probe.communicate()
        programs.note(probe.args, probe.returncode, out, err)
        return probe.returncode, out, err

    def check(self, *args, finalisers=b"finA\n"):
        code, out, err = self.interrupt(*args)
        head = b"\n#RTS: unhandled exception #21: USER BREAK\r\n"
        self.assertTrue(err.startswith(head), err)
        self.assertIsNotNone(HISTORY.match(err, len(head)), err)
        self.assertEqual((code, out), (9, finalisers))

    def test_break_while_the_main_thread_waits_in_the_system(self):
        self.check("break")

    def test_break_while_the_main_thread_computes(self):
        self.check("break-busy")

    def test_finalisers_that_fault_after_a_break(self):
        self.check("break", "faulting", finalisers=b"finFaulting\nfinFaulting\nfinA\n")


if __name__ == "__main__":
    unittest.main(verbosity=2)

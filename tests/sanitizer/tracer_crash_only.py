#!/usr/bin/env python3
"""Tells whether every test failed in the last ctest run failed only because the leak checker's
own thread crashed at exit ("Tracer caught signal"), an intermittent fault of the sanitizer
runtime rather than of the program: the test's own output shows no failed check, no sanitizer
report and no leak.

Usage: tracer_crash_only.py BUILD_DIR
Prints the names of such tests and exits 0 when all failures are of that kind; exits 1 when any
failure is a real one (or when there is nothing to judge)."""
import pathlib
import re
import sys

TRACER_CRASH = "LeakSanitizer has encountered a fatal error"
REAL_FAULTS = (
    "[  FAILED  ]",
    "ERROR: AddressSanitizer",
    "ERROR: LeakSanitizer: detected memory leaks",
    "runtime error:",
    "Test timeout",
    "***Timeout",
)


def outputs(log_text):
    """Each test's name and its captured output, from ctest's LastTest.log."""
    found = {}
    pattern = re.compile(
        r"^\d+/\d+ Testing: (?P<name>.+?)\n.*?^Output:\n-+\n(?P<out>.*?)^<end of output>",
        re.M | re.S,
    )
    for match in pattern.finditer(log_text):
        found[match["name"]] = match["out"]
    return found


def main():
    if len(sys.argv) != 2:
        print(__doc__, file=sys.stderr)
        return 2
    temporary = pathlib.Path(sys.argv[1]) / "Testing" / "Temporary"
    try:
        failed_lines = (temporary / "LastTestsFailed.log").read_text().split()
        log_text = (temporary / "LastTest.log").read_text(errors="replace")
    except OSError as error:
        print(f"tracer_crash_only: {error}", file=sys.stderr)
        return 1
    failed = [line.split(":", 1)[1] for line in failed_lines if ":" in line]
    if not failed:
        return 1
    captured = outputs(log_text)
    for name in failed:
        out = captured.get(name)
        if out is None or TRACER_CRASH not in out or "Tracer caught signal" not in out:
            return 1
        if any(fault in out for fault in REAL_FAULTS):
            return 1
    for name in failed:
        print(name)
    return 0


if __name__ == "__main__":
    sys.exit(main())

#!/usr/bin/env python3
"""Only a test that passed and then lost its leak check to the checker's own crash is called a
tracer crash; a failed check, a leak, a sanitizer report or an unknown test is a real failure."""
import pathlib
import subprocess
import sys
import tempfile
import unittest

SCRIPT = pathlib.Path(__file__).with_name("tracer_crash_only.py")

PASSED_BODY = """[ RUN      ] Pages.Draw
[       OK ] Pages.Draw (12 ms)
[  PASSED  ] 1 test.
"""
TRACER = """Tracer caught signal 11: addr=0x1278 pc=0x7f17444e80f0 sp=0x7f17317fdd10
==29445==LeakSanitizer has encountered a fatal error.
==29445==HINT: For debugging, try setting environment variable LSAN_OPTIONS=verbosity=1:log_threads=1
"""


def block(number, name, output, passed):
    return (
        f"{number}/3 Testing: {name}\n{number}/3 Test: {name}\nCommand: \"x\"\n"
        f"Directory: /tmp\n\"{name}\" start time: Dec 08 08:00 UTC\nOutput:\n"
        f"----------------------------------------------------------\n{output}<end of output>\n"
        f"Test time =   0.10 sec\n----------------------------------------------------------\n"
        f"Test {'Passed' if passed else 'Failed'}.\n\"{name}\" end time: Dec 08 08:00 UTC\n"
    )


def judge(tests):
    """Runs the script over a build folder whose last run had TESTS: (name, output, passed)."""
    with tempfile.TemporaryDirectory() as build:
        temporary = pathlib.Path(build) / "Testing" / "Temporary"
        temporary.mkdir(parents=True)
        log = "".join(block(i + 1, name, out, ok) for i, (name, out, ok) in enumerate(tests))
        (temporary / "LastTest.log").write_text(log)
        failed = [f"{i + 1}:{name}" for i, (name, _, ok) in enumerate(tests) if not ok]
        (temporary / "LastTestsFailed.log").write_text("\n".join(failed) + "\n")
        run = subprocess.run([sys.executable, str(SCRIPT), build], capture_output=True, text=True)
        return run.returncode, run.stdout.split()


class TracerCrashOnly(unittest.TestCase):
    def test_crashes_after_passing_bodies_are_named_for_a_rerun(self):
        code, names = judge([
            ("Pages.Draw", PASSED_BODY + TRACER, False),
            ("Race.Lights", PASSED_BODY, True),
            ("Menu.Shot", PASSED_BODY + "\n" + TRACER, False),
        ])
        self.assertEqual(code, 0)
        self.assertEqual(names, ["Pages.Draw", "Menu.Shot"])

    def test_any_real_failure_beside_a_crash_is_not_rerun(self):
        real = {
            "failed check": "[  FAILED  ] Pages.Draw\n",
            "leak": "ERROR: LeakSanitizer: detected memory leaks\n",
            "address fault": "ERROR: AddressSanitizer: heap-use-after-free\n",
            "undefined": "race.cpp:12:3: runtime error: signed integer overflow\n",
        }
        for what, text in real.items():
            with self.subTest(what):
                code, _ = judge([
                    ("Pages.Draw", PASSED_BODY + TRACER, False),
                    ("Race.Lights", text + TRACER, False),
                ])
                self.assertEqual(code, 1)

    def test_a_failure_without_the_crash_or_without_its_output_is_real(self):
        self.assertEqual(judge([("Pages.Draw", "[  FAILED  ] Pages.Draw\n", False)])[0], 1)
        self.assertEqual(judge([("Pages.Draw", "Segmentation fault\n", False)])[0], 1)
        code, _ = judge([("Pages.Draw", PASSED_BODY + TRACER, True)])
        self.assertEqual(code, 1)  # nothing failed: nothing to rerun


if __name__ == "__main__":
    unittest.main()

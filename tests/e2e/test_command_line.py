# SPDX-FileCopyrightText: 2026 The Bargeling developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""The command line of the real program: what it answers, and how it ends without a display."""

import os
import subprocess
import time
import unittest

PROGRAM = os.path.abspath(os.environ.get("BARGELING_PROGRAM", "build/bargeling"))


def without_display(**extra):
    env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
    env.update(extra)
    return env


def run(*arguments, env=None):
    return subprocess.run([PROGRAM, *arguments], env=env or without_display(), capture_output=True, text=True,
                          timeout=30)


class CommandLine(unittest.TestCase):
    def test_answers_without_a_display(self):
        # (arguments, exit status, what stdout starts with, lines on stderr). The reading of the
        # command line is tst_commandline's; here each way the program answers, and Qt's options.
        cases = [
            (["--version"], 0, "bargeling 1.0.0\n", 0),
            (["--help"], 0, "Bruk: bargeling [valg]\n", 0),
            (["--bogus"], 1, "", 1),
            (["-style"], 1, "", 1),
            (["-platform=offscreen"], 1, "", 1),  # Qt would read it as no option at all
            ([], 1, "", 1),
        ]
        for arguments, status, out, err_lines in cases:
            with self.subTest(arguments=arguments):
                result = run(*arguments)
                self.assertEqual(result.returncode, status, result.stderr)
                self.assertTrue(result.stdout.startswith(out), result.stdout)
                if not out:
                    self.assertEqual(result.stdout, "")
                self.assertEqual(len(result.stderr.splitlines()), err_lines, result.stderr)
                if err_lines:
                    self.assertTrue(result.stderr.startswith("bargeling: "), result.stderr)

    def test_a_display_that_does_not_answer_ends_in_one_line(self):
        result = run(env=without_display(DISPLAY=":97"))
        self.assertEqual(result.returncode, 1)  # not a signal: no abort, no core dump
        self.assertEqual(len(result.stderr.splitlines()), 1, result.stderr)

    def test_qt_options_reach_qt(self):
        # With Qt's own -platform option the game starts even where no display is set.
        for options in (["-platform", "offscreen", "-style", "fusion"],
                        ["--platform", "offscreen", "-style=fusion", "-reverse", "-qwindowgeometry", "100x100"]):
            with self.subTest(options=options):
                process = subprocess.Popen([PROGRAM, *options], env=without_display(),
                                           stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
                try:
                    time.sleep(1.5)
                    self.assertIsNone(process.poll(), process.stderr.read() if process.poll() is not None else "")
                finally:
                    process.kill()
                    process.wait(10)
                    process.stderr.close()

    def test_a_platform_that_cannot_start_says_why(self):
        result = run("-platform", "nonsense")
        self.assertEqual(result.returncode, 1)
        self.assertIn('"nonsense"', result.stderr)


if __name__ == "__main__":
    unittest.main(verbosity=2)

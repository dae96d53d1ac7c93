#!/usr/bin/env python3
"""The real program asked to end by a signal, as kill, a session manager or
systemctl at shutdown ask it: it saves the eight texts and exits normally,
without a question.

    quit_signal_test.py --program PATH [unittest options]"""

import argparse
import configparser
import os
import signal
import subprocess
import sys
import tempfile
import time
import unittest

PROGRAM = None
EDITS = ["E_LatD", "E_LonD", "E_VE", "E_VS", "E_VEast", "E_VSouth", "E_VA", "E_VR"]


def catches(pid, number):
    """Whether the process has a handler of its own for a signal."""
    with open(f"/proc/{pid}/status") as status:
        for line in status:
            if line.startswith("SigCgt:"):
                return bool(int(line.split()[1], 16) >> (number - 1) & 1)
    return False


class QuitSignal(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.TemporaryDirectory()
        self.config = os.path.join(self.folder.name, "config")
        self.settings = os.path.join(self.config, "Tembrel", "Tembrel.conf")
        os.makedirs(os.path.dirname(self.settings))
        # A text the window restores and must save again.
        with open(self.settings, "w") as f:
            f.write("[General]\nE_VR=7\n")

    def tearDown(self):
        self.folder.cleanup()

    def run_until_signal(self, number):
        env = dict(os.environ, HOME=self.folder.name, XDG_CONFIG_HOME=self.config,
                   QT_QPA_PLATFORM="offscreen")
        program = subprocess.Popen([PROGRAM], cwd=self.folder.name, env=env,
                                   stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        try:
            deadline = time.monotonic() + 20
            while not catches(program.pid, number):
                self.assertIsNone(program.poll(), "the program ended before the signal")
                self.assertLess(time.monotonic(), deadline, "no handler for the signal")
                time.sleep(0.02)
            program.send_signal(number)
            return program.wait(timeout=20)
        finally:
            if program.poll() is None:
                program.kill()
                program.wait()

    def check(self, number):
        returncode = self.run_until_signal(number)
        self.assertEqual(returncode, 0, "the program did not end by itself")
        saved = configparser.ConfigParser()
        saved.optionxform = str
        saved.read(self.settings)
        self.assertEqual(sorted(saved["General"].keys()), sorted(EDITS))
        self.assertEqual(saved["General"]["E_VR"], "7")
        self.assertFalse(os.path.exists(os.path.join(self.folder.name, "TembrelData.KML")))

    def test_sigterm_saves_and_exits(self):
        self.check(signal.SIGTERM)

    def test_sigint_saves_and_exits(self):
        self.check(signal.SIGINT)


if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    parser.add_argument("--program", required=True)
    args, rest = parser.parse_known_args()
    PROGRAM = args.program
    unittest.main(argv=[sys.argv[0]] + rest)

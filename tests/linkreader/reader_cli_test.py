#!/usr/bin/env python3
"""network-link-reader from its command line: the line it prints per refresh,
its period and count, and the arguments it refuses.

    reader_cli_test.py --reader PATH [unittest options]"""

import argparse
import os
import re
import subprocess
import sys
import tempfile
import unittest

READER = None

VIEW = ("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
        "<kml xmlns=\"http://earth.google.com/kml/2.0\">\r\n<Placemark>\r\n"
        "<name>Tembrel Starting Point</name>\r\n<LookAt>\r\n"
        "<longitude>{lon}</longitude>\r\n<latitude>{lat}</latitude>\r\n<range>250</range>\r\n"
        "<tilt>0.0</tilt>\r\n<heading>0.0</heading>\r\n</LookAt>\r\n</Placemark>\r\n</kml>\r\n")

LINE = re.compile(r"^(\d+\.\d{3}) (view \S+ \S+ \S+|unreadable .+)$")


class ReaderCommandLine(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.TemporaryDirectory()
        self.view_file = os.path.join(self.folder.name, "TembrelData.KML")

    def tearDown(self):
        self.folder.cleanup()

    def write(self, lon, lat):
        with open(self.view_file, "w", newline="") as f:
            f.write(VIEW.format(lon=lon, lat=lat))

    def run_reader(self, *args):
        return subprocess.run([READER, *args], capture_output=True, text=True, timeout=20)

    def lines(self, result):
        self.assertEqual(result.returncode, 0, result.stderr)
        lines = result.stdout.splitlines()
        for line in lines:
            self.assertRegex(line, LINE)
        return lines

    def test_prints_the_view_once_per_period_count_times(self):
        self.write("2.28924155235291", "48.8591117858887")
        lines = self.lines(self.run_reader("--period", "0.3", "--count", "3", self.view_file))
        self.assertEqual([line.split(" ", 1)[1] for line in lines],
                         ["view 2.28924155235291 48.8591117858887 250"] * 3)
        times = [float(LINE.match(line).group(1)) for line in lines]
        self.assertLess(times[0], 0.25, "the first reading comes at once")
        for earlier, later in zip(times, times[1:]):
            self.assertAlmostEqual(later - earlier, 0.3, delta=0.2)

    def test_keeps_the_texts_as_written(self):
        for lon, lat in (("2,28924155235291", "48,8591117858887"),
                         ("-25.3649997711182", "9.99999974737875E-5")):
            with self.subTest(lon=lon, lat=lat):
                self.write(lon, lat)
                lines = self.lines(self.run_reader("--count", "1", self.view_file))
                self.assertEqual(lines[0].split(" ", 1)[1], f"view {lon} {lat} 250")

    def test_says_why_it_cannot_read(self):
        cases = {
            "missing": (None, "No such file"),
            "empty": ("", "empty file"),
            "half written": (VIEW.format(lon="1", lat="2")[:150], "XML error"),
            "mixed separators": (VIEW.format(lon="1.5", lat="2").replace("0.0", "0,0"), "tilt"),
        }
        for name, (content, reason) in cases.items():
            with self.subTest(name):
                if content is None:
                    if os.path.exists(self.view_file):
                        os.remove(self.view_file)
                else:
                    with open(self.view_file, "w") as f:
                        f.write(content)
                lines = self.lines(self.run_reader("--count", "1", self.view_file))
                self.assertEqual(len(lines), 1)
                self.assertIn(" unreadable ", lines[0])
                self.assertIn(reason, lines[0])

    def test_reads_the_file_afresh_at_each_refresh(self):
        self.write("1", "2")
        with subprocess.Popen([READER, "--period", "0.5", "--count", "3", self.view_file],
                              stdout=subprocess.PIPE, text=True) as reader:
            first = reader.stdout.readline()
            self.write("3", "4")
            rest = reader.stdout.read().splitlines()
        self.assertTrue(first.rstrip().endswith("view 1 2 250"), first)
        self.assertEqual([line.split(" ", 1)[1] for line in rest], ["view 3 4 250"] * 2)

    def test_refuses_bad_arguments(self):
        for args in ([], ["--period", "0", "f"], ["--period", "x", "f"], ["--count", "0", "f"],
                     ["--count", "-1", "f"], ["a", "b"], ["--speed", "1", "f"], ["--period"]):
            with self.subTest(args=args):
                result = self.run_reader(*args)
                self.assertEqual(result.returncode, 2)
                self.assertEqual(result.stdout, "")
                self.assertIn("usage: network-link-reader", result.stderr)


if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    parser.add_argument("--reader", required=True)
    options, rest = parser.parse_known_args()
    READER = os.path.abspath(options.reader)
    unittest.main(argv=[sys.argv[0], *rest])

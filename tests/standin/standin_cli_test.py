#!/usr/bin/env python3
"""earth-standin from its command line: the line it prints per fetch, the
query it sends, its count and the arguments it refuses.

    standin_cli_test.py --standin PATH [unittest options]"""

import argparse
import http.server
import os
import re
import subprocess
import sys
import tempfile
import threading
import unittest
from urllib.parse import parse_qs, urlsplit

STANDIN = None

VIEW = ("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
        "<kml xmlns=\"http://earth.google.com/kml/2.0\">\r\n<Placemark>\r\n"
        "<name>Tembrel Starting Point</name>\r\n<LookAt>\r\n"
        "<longitude>8.5</longitude>\r\n<latitude>47.25</latitude>\r\n<range>250</range>\r\n"
        "<tilt>0.0</tilt>\r\n<heading>0.0</heading>\r\n</LookAt>\r\n</Placemark>\r\n</kml>\r\n")

LINK = ("<kml xmlns=\"http://www.opengis.net/kml/2.2\"><NetworkLink><name>Tembrel</name>"
        "<flyToView>1</flyToView><Link><href>{href}</href><refreshMode>onInterval</refreshMode>"
        "<refreshInterval>{period}</refreshInterval><viewRefreshMode>{mode}</viewRefreshMode>"
        "<viewFormat>lon=[lookatLon]&amp;lat=[lookatLat]&amp;range=[lookatRange]&amp;"
        "tilt=[lookatTilt]&amp;heading=[lookatHeading]&amp;bbox=[bboxWest],[bboxSouth],"
        "[bboxEast],[bboxNorth]&amp;w=[horizPixels]&amp;h=[vertPixels]</viewFormat></Link>"
        "</NetworkLink></kml>")

NUMBER = r"-?\d+\.\d{6}"
LINE = re.compile(rf"^(\d+\.\d{{3}}) (\d{{3}}|file|failed) camera ({NUMBER}) ({NUMBER}) "
                  rf"({NUMBER}) {NUMBER} {NUMBER} bbox ({NUMBER}),({NUMBER}),({NUMBER}),"
                  rf"({NUMBER}) (view \S+ \S+ \S+|reason .*)$")


class ViewHandler(http.server.BaseHTTPRequestHandler):
    queries = []

    def do_GET(self):  # noqa: N802 (the library's name)
        ViewHandler.queries.append(self.path)
        if urlsplit(self.path).path != "/TembrelData.KML":
            self.send_error(404)
            return
        body = VIEW.encode()
        self.send_response(200)
        self.send_header("Content-Type", "application/vnd.google-earth.kml+xml")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def log_message(self, *args):
        pass


class StandinCommandLine(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), ViewHandler)
        threading.Thread(target=cls.server.serve_forever, daemon=True).start()

    @classmethod
    def tearDownClass(cls):
        cls.server.shutdown()
        cls.server.server_close()

    def setUp(self):
        ViewHandler.queries.clear()
        self.folder = tempfile.TemporaryDirectory()
        self.link = os.path.join(self.folder.name, "TembrelLink.kml")

    def tearDown(self):
        self.folder.cleanup()

    def write_link(self, path="/TembrelData.KML", period="0.3", mode="onRequest"):
        href = f"http://127.0.0.1:{self.server.server_port}{path}"
        with open(self.link, "w") as f:
            f.write(LINK.format(href=href, period=period, mode=mode))

    def run_standin(self, *args):
        return subprocess.run([STANDIN, *args], capture_output=True, text=True, timeout=20)

    def lines(self, result):
        self.assertEqual(result.returncode, 0, result.stderr)
        lines = result.stdout.splitlines()
        for line in lines:
            self.assertRegex(line, LINE)
        return [LINE.match(line) for line in lines]

    def test_fetches_each_period_and_flies_to_the_view(self):
        self.write_link()
        lines = self.lines(self.run_standin("--count", "3", "--camera", "1,2,3000", self.link))
        self.assertEqual(len(lines), 3)
        self.assertEqual([m.group(2) for m in lines], ["200"] * 3)
        self.assertEqual([m.group(10) for m in lines], ["view 8.5 47.25 250"] * 3)
        self.assertEqual(lines[0].group(3, 4, 5), ("8.500000", "47.250000", "250.000000"))
        times = [float(m.group(1)) for m in lines]
        self.assertLess(times[0], 0.25, "the first fetch comes at once")
        for earlier, later in zip(times, times[1:]):
            self.assertAlmostEqual(later - earlier, 0.3, delta=0.2)
        first, second = (parse_qs(urlsplit(q).query) for q in ViewHandler.queries[:2])
        self.assertEqual((first["lon"], first["lat"], first["range"]),
                         (["1.000000"], ["2.000000"], ["3000.000000"]))
        self.assertEqual((second["lon"], second["lat"]), (["8.500000"], ["47.250000"]))
        self.assertEqual(second["bbox"], [",".join(lines[0].group(6, 7, 8, 9))])

    def test_stays_put_without_flying_and_uses_its_window(self):
        self.write_link()
        lines = self.lines(self.run_standin("--count", "2", "--no-fly", "--camera", "1,2,3000",
                                            "--window", "400x400", "--fov", "90", self.link))
        self.assertEqual([m.group(3, 4) for m in lines], [("1.000000", "2.000000")] * 2)
        # 3000·tan 45° = 3000 m either way: 0.026949° of latitude.
        south, north = float(lines[0].group(7)), float(lines[0].group(9))
        self.assertAlmostEqual(north - south, 2 * 3000 / 111320, places=5)
        self.assertEqual(parse_qs(urlsplit(ViewHandler.queries[1]).query)["w"], ["400"])

    def test_sends_no_view_under_never(self):
        # KML reference, viewRefreshMode: "never (default) - Ignore changes in
        # the view. Also ignore <viewFormat> parameters, if any."
        self.write_link(mode="never")
        lines = self.lines(self.run_standin("--count", "2", self.link))
        self.assertEqual(len(lines), 2)
        self.assertEqual(ViewHandler.queries[:2], ["/TembrelData.KML"] * 2)

    def test_reports_a_wrong_path(self):
        self.write_link(path="/other.kml")
        lines = self.lines(self.run_standin("--count", "1", self.link))
        self.assertEqual(lines[0].group(2), "404")
        self.assertTrue(lines[0].group(10).startswith("reason "))

    def test_refuses_bad_arguments_and_link_files(self):
        self.write_link()
        for args in (["--count", "0", self.link], ["--window", "10", self.link],
                     ["--fov", "180", self.link], ["--camera", "1,2", self.link],
                     ["--fly-delay", "-1", self.link], ["--bogus", self.link], []):
            with self.subTest(args=args):
                result = self.run_standin(*args)
                self.assertEqual(result.returncode, 2)
                self.assertIn("usage: earth-standin", result.stderr)
        with open(self.link, "w") as f:
            f.write("<kml><Document/></kml>")
        result = self.run_standin(self.link)
        self.assertEqual(result.returncode, 1)
        self.assertIn("no NetworkLink", result.stderr)


if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    parser.add_argument("--standin", required=True)
    options, rest = parser.parse_known_args()
    STANDIN = options.standin
    unittest.main(argv=[sys.argv[0]] + rest)

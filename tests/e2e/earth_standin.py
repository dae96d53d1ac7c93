"""earth-standin run beside the program as Google Earth would be: the link
files it opens, every fetch line it prints kept with the moment it arrived,
and the box its camera sees, worked out as it works it out."""

import math
import subprocess
import threading
import time
from dataclasses import dataclass
from pathlib import Path
from xml.sax.saxutils import escape

from x11_session import Failure, spawn, stop

# The query Google Earth appends on each refresh of the live link.
VIEW_FORMAT = ("lon=[lookatLon]&lat=[lookatLat]&range=[lookatRange]&tilt=[lookatTilt]"
               "&heading=[lookatHeading]&bbox=[bboxWest],[bboxSouth],[bboxEast],[bboxNorth]"
               "&w=[horizPixels]&h=[vertPixels]")
METRES_PER_DEGREE = 111320
# Tembrel's snapshot kilometres in degrees of longitude and of latitude.
KM_LONGITUDE = 37 / 3600
KM_LATITUDE = 32 / 3600


def file_link(view_file, period, fly=True):
    """Today's link, as Tools > "Create Google Earth link..." writes it: an
    href to the view file itself."""
    href = Path(view_file).resolve().as_uri()
    return ("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<kml xmlns=\"http://www.opengis.net/kml/2.2\"><NetworkLink><name>Tembrel</name>"
            f"<flyToView>{int(fly)}</flyToView><Link><href>{escape(href)}</href>"
            f"<refreshMode>onInterval</refreshMode><refreshInterval>{period}</refreshInterval>"
            "</Link></NetworkLink></kml>\n")


def box_for(lon, lat, range_metres, fov=60, width=1000, height=700):
    """The stand-in's box (west, south, east, north) for a camera looking
    straight down: half-width range·tan(fov/2), half-height by the window's
    shape, in degrees at the camera's latitude."""
    half_width = range_metres * math.tan(math.radians(fov / 2))
    half_height = half_width * height / width
    d_lat = half_height / METRES_PER_DEGREE
    d_lon = half_width / (METRES_PER_DEGREE * math.cos(math.radians(lat)))
    return lon - d_lon, lat - d_lat, lon + d_lon, lat + d_lat


def snapshot_km(box):
    """A box's width and height in Tembrel's snapshot kilometres."""
    west, south, east, north = box
    return (east - west) / KM_LONGITUDE, (north - south) / KM_LATITUDE


@dataclass(frozen=True)
class Fetch:
    arrival: float  # time.monotonic() when the line came in
    line: str

    @property
    def words(self):
        return self.line.split()

    @property
    def status(self):
        return self.words[1]

    @property
    def camera(self):
        """(longitude, latitude, range) as numbers."""
        return tuple(float(word) for word in self.words[3:6])

    @property
    def box(self):
        return tuple(float(word) for word in self.words[9].split(","))

    @property
    def view(self):
        """(longitude, latitude, range) as written in the file, or None."""
        words = self.words
        if len(words) == 14 and words[10] == "view":
            return tuple(words[11:])
        return None

    @property
    def unreadable(self):
        return self.view is None


class EarthStandin:
    """The stand-in reading a link file, started at once; its fetches have the
    same shape as the link reader's samples, so that a Timeline can use it."""

    def __init__(self, program, link_file, log_path, *options):
        self._log = open(log_path, "w")
        self._fetches = []
        self._changed = threading.Condition()
        self._process = spawn([program, *map(str, options), str(link_file)],
                              stdout=subprocess.PIPE, stderr=self._log, text=True, bufsize=1)
        self._thread = threading.Thread(target=self._read, daemon=True)
        self._thread.start()

    def _read(self):
        for line in self._process.stdout:
            arrival = time.monotonic()
            self._log.write(line)
            self._log.flush()
            with self._changed:
                self._fetches.append(Fetch(arrival, line.strip()))
                self._changed.notify_all()

    def close(self):
        """Ends it, as closing Google Earth would."""
        stop(self._process)
        self._thread.join(timeout=3)
        if not self._log.closed:
            self._log.close()

    def running(self):
        return self._process.poll() is None

    def samples(self):
        with self._changed:
            return list(self._fetches)

    def next_sample(self, timeout=3):
        return self.wait_count(len(self.samples()) + 1, timeout)

    def wait_count(self, count, timeout=3):
        with self._changed:
            if not self._changed.wait_for(lambda: len(self._fetches) >= count, timeout):
                raise Failure(f"earth-standin printed no line {count} in {timeout:g} s "
                              "(is it still running?)")
            return self._fetches[count - 1]


def start_standin(h, link_text, *options):
    """Writes the link file into the case's folder and starts the stand-in on
    it; the case's end stops it."""
    h._standins = getattr(h, "_standins", 0) + 1
    link_file = h.root / f"TembrelLink-{h._standins}.kml"
    link_file.write_text(link_text)
    standin = EarthStandin(h.options.standin, link_file,
                           h.artefacts / f"earth-standin-{h._standins}.log", *options)
    h._stack.callback(standin.close)
    return standin


def check_camera_follows(fetches, fov=60, width=1000, height=700):
    """With no flight delay the camera is at each view as soon as it is read,
    and its box is the one its geometry gives."""
    problems = []
    for fetch in fetches:
        if fetch.view is None:
            continue
        want = tuple(float(text.replace(",", ".")) for text in fetch.view)
        if any(abs(a - b) > 1e-6 for a, b in zip(fetch.camera, want)):
            problems.append(f"camera {fetch.camera} after reading view {fetch.view}")
        box = box_for(*fetch.camera, fov=fov, width=width, height=height)
        if any(abs(a - b) > 2e-6 for a, b in zip(fetch.box, box)):
            problems.append(f"box {fetch.box}, geometry gives {box}")
    if problems:
        raise Failure("the stand-in's camera did not follow:\n" + "\n".join(problems))

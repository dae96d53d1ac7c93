"""network-link-reader run beside the program, as Google Earth's network link
would be: every line it prints is kept with the moment it arrived."""

import subprocess
import threading
import time
from dataclasses import dataclass

from x11_session import Failure, spawn, stop


@dataclass(frozen=True)
class Sample:
    arrival: float  # time.monotonic() when the line came in
    line: str

    @property
    def view(self):
        """(longitude, latitude, range) as written in the file, or None."""
        words = self.line.split()
        if len(words) == 5 and words[1] == "view":
            return tuple(words[2:])
        return None

    @property
    def unreadable(self):
        words = self.line.split()
        return len(words) >= 2 and words[1] == "unreadable"


class LinkReader:
    def __init__(self, program, view_file, log_path, period=1):
        self._log = open(log_path, "w")
        self._samples = []
        self._changed = threading.Condition()
        self._process = spawn([program, "--period", str(period), view_file],
                              stdout=subprocess.PIPE, stderr=self._log, text=True, bufsize=1)
        self._thread = threading.Thread(target=self._read, daemon=True)
        self._thread.start()

    def _read(self):
        for line in self._process.stdout:
            arrival = time.monotonic()
            self._log.write(line)
            self._log.flush()
            with self._changed:
                self._samples.append(Sample(arrival, line.strip()))
                self._changed.notify_all()

    def close(self):
        stop(self._process)
        self._thread.join(timeout=3)
        self._log.close()

    def samples(self):
        with self._changed:
            return list(self._samples)

    def next_sample(self, timeout=3):
        """Waits for the line after the ones already read."""
        return self.wait_count(len(self.samples()) + 1, timeout)

    def wait_count(self, count, timeout=3):
        """Waits until `count` lines have come, and returns the last of them."""
        with self._changed:
            if not self._changed.wait_for(lambda: len(self._samples) >= count, timeout):
                raise Failure(f"network-link-reader printed no line {count} in "
                              f"{timeout:g} s (is it still running?)")
            return self._samples[count - 1]

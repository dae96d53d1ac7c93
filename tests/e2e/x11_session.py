"""A display of one test's own: Xvfb, a window manager, and the tools that stand
in for a person's hands and eyes (xdotool, ImageMagick's import, tesseract)."""

import ctypes
import os
import re
import select
import signal
import subprocess
import time

SCREEN_WIDTH = 1024
SCREEN_HEIGHT = 768

_PR_SET_PDEATHSIG = 1
_libc = ctypes.CDLL(None, use_errno=True)


class Failure(AssertionError):
    """What the program did differs from what a person would expect."""


def _die_with_parent():
    # A harness killed by CTest's timeout must not leave a display behind.
    _libc.prctl(_PR_SET_PDEATHSIG, signal.SIGTERM)


def spawn(args, **kwargs):
    return subprocess.Popen(args, preexec_fn=_die_with_parent, **kwargs)


def stop(process):
    """Ends a process this harness started, politely first."""
    if process is None or process.poll() is not None:
        return
    process.terminate()
    try:
        process.wait(timeout=3)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait()


def poll(condition, timeout, what, interval=0.05):
    """Returns condition()'s first true value, or fails after timeout seconds."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() >= deadline:
            raise Failure(f"timed out after {timeout:g} s waiting for {what}")
        time.sleep(interval)


class Image:
    """A screen picture as 8-bit RGB rows, read from a binary PPM."""

    def __init__(self, ppm):
        match = re.match(rb"P6\s+(\d+)\s+(\d+)\s+(\d+)\s", ppm)
        if match is None or match.group(3) != b"255":
            raise Failure("the screen grab is not an 8-bit PPM picture")
        self.width = int(match.group(1))
        self.height = int(match.group(2))
        self._pixels = ppm[match.end():]
        if len(self._pixels) < self.width * self.height * 3:
            raise Failure("the screen grab is cut short")

    def pixel(self, x, y):
        offset = (y * self.width + x) * 3
        return tuple(self._pixels[offset:offset + 3])

    def crop(self, x, y, width, height):
        rows = b"".join(
            self._pixels[((y + row) * self.width + x) * 3:((y + row) * self.width + x + width) * 3]
            for row in range(height))
        return Image(b"P6 %d %d 255\n" % (width, height) + rows)

    def ppm(self):
        return b"P6 %d %d 255\n" % (self.width, self.height) + self._pixels

    def changed(self, other, top, bottom):
        """The smallest box (x, y, width, height) holding every pixel of rows
        top to bottom that differs in the other picture, or None."""
        left, right, first, last = self.width, -1, None, None
        for row in range(top, min(bottom, self.height)):
            start, end = row * self.width * 3, (row + 1) * self.width * 3
            ours, theirs = self._pixels[start:end], other._pixels[start:end]
            if ours == theirs:
                continue
            columns = [x for x in range(self.width)
                       if ours[x * 3:x * 3 + 3] != theirs[x * 3:x * 3 + 3]]
            left, right = min(left, columns[0]), max(right, columns[-1])
            first = row if first is None else first
            last = row
        if first is None:
            return None
        return left, first, right - left + 1, last - first + 1

    def count(self, predicate, x, y, width, height):
        return sum(1 for row in range(y, y + height) for column in range(x, x + width)
                   if predicate(self.pixel(column, row)))

    def save(self, path):
        subprocess.run(["convert", "ppm:-", str(path)], input=self.ppm(), check=True)


class Display:
    """Xvfb on a display number it picks itself, so that parallel tests never
    share a screen, with openbox to draw close boxes and handle Alt+F4."""

    def __init__(self, home, log_dir):
        self.home = home
        self.log_dir = log_dir
        self.name = None
        self.env = None
        self._processes = []

    def __enter__(self):
        try:
            self._start()
        except BaseException:
            self.close()
            raise
        return self

    def __exit__(self, *exc):
        self.close()

    def _start(self):
        read_end, write_end = os.pipe()
        with open(os.path.join(self.log_dir, "xvfb.log"), "wb") as log:
            self._processes.append(spawn(
                ["Xvfb", "-displayfd", str(write_end), "-screen", "0",
                 f"{SCREEN_WIDTH}x{SCREEN_HEIGHT}x24", "-nolisten", "tcp", "-noreset"],
                pass_fds=(write_end,), stdout=log, stderr=log))
        os.close(write_end)
        number = b""
        deadline = time.monotonic() + 15
        while not number.endswith(b"\n"):
            ready, _, _ = select.select([read_end], [], [], max(0, deadline - time.monotonic()))
            chunk = os.read(read_end, 16) if ready else b""
            if not chunk:
                os.close(read_end)
                raise Failure("Xvfb did not announce its display (see xvfb.log)")
            number += chunk
        os.close(read_end)
        self.name = ":" + number.decode().strip()
        self.env = dict(os.environ, DISPLAY=self.name, HOME=self.home)
        self.env.pop("QT_QPA_PLATFORM", None)

        with open(os.path.join(self.log_dir, "openbox.log"), "wb") as log:
            self._processes.append(spawn(["openbox", "--sm-disable"], env=self.env,
                                         stdout=log, stderr=log))
        poll(lambda: "window id" in self.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"],
                                            check=False),
             10, "the window manager")
        print(f"display {self.name} with openbox", flush=True)

    def close(self):
        for process in reversed(self._processes):
            stop(process)
        self._processes.clear()

    # ---------------------------------------------------------------- tools

    def run(self, args, check=True, binary=False):
        result = subprocess.run(args, env=self.env, capture_output=True, text=not binary)
        if check and result.returncode != 0:
            raise Failure(f"{' '.join(map(str, args))} failed: {result.stderr!r}")
        return result.stdout

    def windows(self, title):
        """Visible windows whose whole title is `title` (a regular expression)."""
        found = self.run(["xdotool", "search", "--onlyvisible", "--name", f"^{title}$"],
                         check=False)
        return [int(line) for line in found.split()]

    def wait_window(self, title, timeout):
        return poll(lambda: self.windows(title), timeout, f"a window titled '{title}'")[-1]

    def wait_no_window(self, title, timeout):
        poll(lambda: not self.windows(title), timeout, f"no window titled '{title}' left")

    def geometry(self, window):
        """Where the window's client area lies on the screen: x, y, width, height."""
        info = self.run(["xwininfo", "-id", str(window)])

        def field(name):
            return int(re.search(rf"{name}:\s+(-?\d+)", info).group(1))
        return (field("Absolute upper-left X"), field("Absolute upper-left Y"),
                field("Width"), field("Height"))

    def frame_extents(self, window):
        """The window manager's frame around a window: left, right, top, bottom."""
        text = self.run(["xprop", "-id", str(window), "_NET_FRAME_EXTENTS"])
        numbers = re.findall(r"\d+", text.split("=", 1)[-1])
        if len(numbers) != 4:
            raise Failure(f"window {window} has no frame: {text.strip()}")
        return tuple(int(n) for n in numbers)

    def click(self, x, y):
        # The hand comes from a little aside, as a person's does: Qt takes a
        # second click on a spot the pointer never left after a modal box for
        # no click at all.
        self.run(["xdotool", "mousemove", "--sync", str(x - 4), str(y - 4),
                  "mousemove", "--sync", str(x), str(y), "click", "1"])

    def hover(self, x, y):
        """Rests the pointer on a spot, coming from a little aside."""
        self.run(["xdotool", "mousemove", "--sync", str(x - 6), str(y - 6),
                  "mousemove", "--sync", str(x), str(y)])

    def key(self, *keys):
        self.run(["xdotool", "key", "--delay", "30", *keys])

    def type(self, text):
        self.run(["xdotool", "type", "--delay", "25", "--", text])

    def activate(self, window):
        self.run(["xdotool", "windowactivate", "--sync", str(window)])

    def press_in_window(self, title, *keys, timeout=5):
        """Sends keys to the window titled `title`, as a person who first makes
        it the active window."""
        window = self.wait_window(title, timeout)
        self.activate(window)
        self.key(*keys)
        return window

    def grab(self):
        return Image(self.run(["import", "-window", "root", "-depth", "8", "ppm:-"], binary=True))

    def ocr(self, image, x, y, width, height, invert=False, one_line=True, threshold=True):
        """The text tesseract reads in a part of a picture, blanks collapsed.
        Without threshold the greys stay: a thin serif falls apart in black
        and white."""
        part = image.crop(x, y, width, height)
        prepare = ["convert", "ppm:-", "-colorspace", "gray"]
        if invert:
            prepare.append("-negate")
        prepare += ["-resize", "400%"]
        if threshold:
            prepare += ["-threshold", "60%"]
        prepare += ["-bordercolor", "white", "-border", "40", "png:-"]
        png = subprocess.run(prepare, input=part.ppm(), capture_output=True, check=True).stdout
        text = subprocess.run(["tesseract", "-", "-", "--psm", "7" if one_line else "6"],
                              input=png, capture_output=True, check=True).stdout
        return " ".join(text.decode(errors="replace").split())

"""One end-to-end case's world: its own display, a temporary home and working
directory, the program started from outside, the link reader beside it, the
plan to hold it to, and the screenshots kept as artefacts."""

import configparser
import os
import re
import shutil
import subprocess
import tempfile
import time
from contextlib import ExitStack
from pathlib import Path

from link_reader import LinkReader
from main_window import TITLE, MainWindow
from voyage_plan import VoyagePlan
from x11_session import Display, Failure, poll, spawn, stop

VIEW_FILE = "TembrelData.KML"
SETTINGS_KEY = r"HKCU\Software\Tembrel"
# Where the view server's port is kept: a DWORD of that key under Wine.
PORT_VALUE = "ViewServerPort"
# And the secret of the live link's path, a string beside it.
SECRET_VALUE = "ViewServerSecret"

# The program ticks every whole second after the click on Start; the reader
# samples half-way between two ticks. A look at the screen or the file must
# keep this far from a tick, whose timer may fire a little early or late.
TICK_MARGIN = 0.12


class Harness:
    def __init__(self, options, case):
        self.options = options
        self.case = case
        self.artefacts = Path(options.artefacts).resolve() / case
        shutil.rmtree(self.artefacts, ignore_errors=True)
        self.artefacts.mkdir(parents=True)
        self.root = Path(tempfile.mkdtemp(prefix=f"tembrel-e2e-{case}-"))
        self.home = self.root / "home"
        self.config_home = self.home / "config"
        self.work = self.root / "work"
        for directory in (self.home, self.config_home, self.work):
            directory.mkdir()
        self.view_file = self.work / VIEW_FILE
        self.settings_file = self.config_home / "Tembrel" / "Tembrel.conf"
        self.display = None
        self.program = None
        self._stack = ExitStack()
        self._shots = 0
        self._launches = 0
        self._plans = 0

    def __enter__(self):
        self._stack.__enter__()
        self._stack.callback(shutil.rmtree, self.root, ignore_errors=True)
        self.display = self._stack.enter_context(Display(str(self.home), str(self.artefacts)))
        self.forget_settings()
        return self

    def __exit__(self, kind, error, trace):
        if kind is not None and self.display is not None and self.display.name is not None:
            try:
                self.shot("failure")
            except Exception as grab_error:  # the failure itself matters more
                print(f"no failure screenshot: {grab_error}")
        stop(self.program)
        return self._stack.__exit__(kind, error, trace)

    # ---------------------------------------------------------------- pieces

    def launch(self):
        """Starts tembrel as a person would, in the working directory, and
        waits until its window is drawn."""
        if self.program is not None and self.program.poll() is None:
            raise Failure("the program is already running")
        self.program = self._spawn()
        window = self.display.wait_window(TITLE, 30)
        main = MainWindow(self.display, window)
        poll(lambda: main.start_button_shown(self.display.grab()), 10, "the window to be drawn")
        return main

    def launch_beside(self):
        """Starts another tembrel in the same working directory while the
        first one runs, and waits until its own window is drawn."""
        known = set(self.display.windows(TITLE))
        self._stack.callback(stop, self._spawn())
        window = poll(lambda: [w for w in self.display.windows(TITLE) if w not in known], 30,
                      "the second window")[-1]
        main = MainWindow(self.display, window)
        poll(lambda: main.start_button_shown(self.display.grab()), 10, "the window to be drawn")
        return main

    def _spawn(self):
        self._launches += 1
        env = dict(self.display.env, HOME=str(self.home), XDG_CONFIG_HOME=str(self.config_home),
                   QT_QPA_PLATFORM="xcb")
        # A sanitizer build checks for leaks at exit; system libraries' own
        # leaks are not the program's.
        suppressions = f"suppressions={Path(__file__).with_name('lsan-suppressions.txt')}"
        env["LSAN_OPTIONS"] = ":".join(filter(None, [env.get("LSAN_OPTIONS"), suppressions]))
        log = open(self.artefacts / f"tembrel-{self._launches}.log", "wb")
        self._stack.callback(log.close)
        command = [self.options.program]
        if self.options.wine:
            # The Windows build: its own platform plugin draws on the display.
            env.pop("QT_QPA_PLATFORM")
            command = ["wine", self.options.program]
        return spawn(command, cwd=self.work, env=env, stdout=log, stderr=log)

    def forget_settings(self):
        """Under Wine the settings live in the prefix's registry, which the
        cases share: each starts without them, as a new user would."""
        if self.options.wine:
            subprocess.run(["wine", "reg", "delete", SETTINGS_KEY, "/f"], capture_output=True)

    def saved_texts(self):
        """The texts the program saved, by name: from the INI file on Linux,
        from the registry's string values under Wine (any other type fails)."""
        if not self.options.wine:
            settings = configparser.ConfigParser(interpolation=None)
            settings.optionxform = str
            if not settings.read(self.settings_file):
                raise Failure(f"no settings file {self.settings_file}")
            return dict(settings["General"]) if settings.has_section("General") else {}
        texts = {}
        for name, (kind, data) in self.registry_values().items():
            # The view server's port and secret share the key.
            if name in (PORT_VALUE, SECRET_VALUE):
                continue
            if kind != "REG_SZ":
                raise Failure(f"the value {name} is a {kind}, not a REG_SZ")
            texts[name] = data
        return texts

    def registry_values(self):
        """Under Wine: the values of the program's registry key, by name, as
        (type, data) with data as `wine reg` prints it."""
        result = subprocess.run(["wine", "reg", "query", SETTINGS_KEY], capture_output=True)
        if result.returncode != 0:
            raise Failure(f"no registry key {SETTINGS_KEY}")
        values = {}
        for line in result.stdout.decode("utf-8", errors="replace").splitlines():
            match = re.match(r"^    (\S+)    (REG_\w+)(?:    (.*))?$", line.rstrip("\r"))
            if match is not None:
                values[match.group(1)] = (match.group(2), match.group(3) or "")
        return values

    def check_program_logs(self):
        """Fails on what a sanitizer build reports in the program's output."""
        for log in sorted(self.artefacts.glob("tembrel-*.log")):
            text = log.read_text(errors="replace")
            for mark in ("ERROR: AddressSanitizer", "ERROR: LeakSanitizer", "runtime error:"):
                if mark in text:
                    raise Failure(f"{log.name} reports '{mark}'")

    def wait_exit(self, timeout):
        poll(lambda: self.program.poll() is not None, timeout, "the program to end")
        return self.program.returncode

    def reader(self):
        reader = LinkReader(self.options.reader, str(self.view_file),
                            self.artefacts / "network-link-reader.log")
        self._stack.callback(reader.close)
        return reader

    def plan(self, *args):
        self._plans += 1
        return VoyagePlan(self.options.sim, [str(a) for a in args],
                          self.artefacts / f"plan-{self._plans}.txt")

    def shot(self, name, image=None):
        """Keeps a picture of the screen (the one given, or a new grab)."""
        image = image if image is not None else self.display.grab()
        self._shots += 1
        path = self.artefacts / f"{self._shots:02d}-{name}.png"
        image.save(path)
        print(f"screenshot: {path}", flush=True)
        return image

    def memo_file(self, text):
        path = self.root / "memo.txt"
        path.write_text(text)
        return path

    def grid_file(self, rows):
        path = self.root / "grid.txt"
        path.write_text("".join("\t".join(row) + "\n" for row in rows))
        return path


class Timeline:
    """Seconds since the click on Start. The click comes half a period after
    one of the reader's samples, so that the program's ticks fall half-way
    between the samples. The harness notes when it acted and looked; the plan
    is then computed from the moments the clicks and keys were really given,
    and whatever came too near a tick to tell which came first is reported
    as such."""

    def __init__(self, reader):
        self.reader = reader
        self.t0 = None
        self.actions = []  # (what, from, to)
        self.looks = []  # (what, from, to, picture)

    def start(self, click):
        sample = self.reader.next_sample()
        self._sleep_until_absolute(sample.arrival + 0.5)
        self.t0 = time.monotonic()
        click()

    def now(self):
        return time.monotonic() - self.t0

    def sleep_until(self, t):
        self._sleep_until_absolute(self.t0 + t)

    @staticmethod
    def _sleep_until_absolute(when):
        delay = when - time.monotonic()
        if delay > 0:
            time.sleep(delay)

    def after_sample(self, t):
        """Waits for the reader's sample at about t (a half second), so that
        what follows happens right after it, half a period from any tick."""
        count = 0
        while True:
            samples = self.reader.samples()
            for sample in samples[count:]:
                if sample.arrival - self.t0 > t - 0.5:
                    return sample
            count = len(samples)
            self.reader.wait_count(count + 1, timeout=max(3, t - self.now() + 3))

    def after_write(self, path, t):
        """Waits for the program's write of the view file at about t (a whole
        second), so that what follows has most of a period before the next."""
        self.sleep_until(t - 0.3)
        before = os.stat(path).st_mtime_ns
        poll(lambda: os.stat(path).st_mtime_ns != before, 3, f"the write at {t:g} s",
             interval=0.01)
        # Clear of the tick's own moment, so that nothing can be taken for it.
        self._sleep_until_absolute(time.monotonic() + TICK_MARGIN + 0.03)

    def act(self, what, action):
        """Does something whose moment matters, and returns that moment."""
        before = self.now()
        action()
        after = self.now()
        self.actions.append((what, before, after))
        return after

    def look(self, display, what):
        """A picture of the screen, kept with the moment it was taken."""
        before = self.now()
        image = display.grab()
        self.looks.append((what, before, self.now(), image))
        return image

    def looks_at(self, what):
        return [(before, image) for kind, before, _, image in self.looks if kind == what]

    def check_timing(self, ticks):
        """Fails when an action or a look came so near one of the ticks that
        which came first cannot be told."""
        problems = []
        for what, before, after in self.actions + [look[:3] for look in self.looks]:
            near = [tick for tick in ticks if before - TICK_MARGIN < tick < after + TICK_MARGIN]
            if near:
                problems.append(f"{what} from {before:.2f} s to {after:.2f} s, tick at "
                                f"{near[0]:g} s")
        if problems:
            raise Failure("too near a tick to tell what came first (is the machine "
                          "overloaded?):\n" + "\n".join(problems))

    def check_samples(self, expected, ticks, since=None):
        """Holds every reader sample after `since` to expected(t): a view
        (longitude, latitude, range) or None for an unreadable file."""
        problems = []
        for sample in self.reader.samples():
            t = sample.arrival - self.t0
            if since is not None and t <= since:
                continue
            if any(abs(t - tick) < TICK_MARGIN for tick in ticks):
                problems.append(f"{t:7.2f} s  too near a tick to judge: {sample.line}")
                continue
            want = expected(t)
            if want is None and not sample.unreadable:
                problems.append(f"{t:7.2f} s  saw {sample.line}; expected no readable view")
            elif want is not None and sample.view != want:
                problems.append(f"{t:7.2f} s  saw {sample.line}; expected view {' '.join(want)}")
        if problems:
            raise Failure("the link reader saw what the plan does not say:\n" +
                          "\n".join(problems))

    def views_seen(self):
        """The readable views in the order the reader saw them, with how many
        samples each lasted."""
        runs = []
        for sample in self.reader.samples():
            view = sample.view
            if view is None:
                continue
            if runs and runs[-1][0] == view:
                runs[-1][1] += 1
            else:
                runs.append([view, 1])
        return [(view, count) for view, count in runs]


def moment(t):
    """A time for tembrel-sim's --do: seconds with three decimals."""
    return f"{max(t, 0):.3f}"


def expect(condition, message):
    if not condition:
        raise Failure(message)


def expect_equal(seen, wanted, what):
    if seen != wanted:
        raise Failure(f"{what}: saw {seen!r}, expected {wanted!r}")


def file_exists(path):
    return os.path.lexists(path)

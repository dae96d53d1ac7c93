"""What the program must do, second by second, as tembrel-sim computes it on
its virtual clock from the same texts and the same clicks."""

import subprocess
import tempfile
from dataclasses import dataclass

from x11_session import Failure

VOYAGE_ENDED = "The voyage has been ended."


@dataclass(frozen=True)
class Event:
    time: float
    kind: str  # view, gauge, label, box, errorbox
    text: str


class VoyagePlan:
    def __init__(self, sim, args, log_path):
        with tempfile.TemporaryDirectory(prefix="tembrel-sim-") as directory:
            result = subprocess.run([sim, "--dir", directory, *args], capture_output=True,
                                    text=True)
        if result.returncode != 0:
            raise Failure(f"tembrel-sim {' '.join(args)} failed: {result.stderr.strip()}")
        with open(log_path, "w") as log:
            log.write("tembrel-sim " + " ".join(args) + "\n" + result.stdout)
        self._action_times = {float(arg.split(":", 1)[0])
                              for option, arg in zip(args, args[1:]) if option == "--do"}
        self.events = []
        for line in result.stdout.splitlines():
            time, kind, text = (line.split(" ", 2) + [""])[:3]
            self.events.append(Event(float(time), kind, text))

    def _last(self, kind, time):
        found = None
        for event in self.events:
            if event.time > time:
                break
            if event.kind == kind:
                found = event
        return found

    def view_at(self, time):
        """The view in the file at that moment, as (longitude, latitude, range)."""
        event = self._last("view", time)
        return tuple(event.text.split()) if event else None

    def gauge_at(self, time):
        event = self._last("gauge", time)
        return int(event.text) if event else 0

    def label_at(self, time):
        """The area label's caption while it is shown, else None."""
        shown = False
        caption = None
        for event in self.events:
            if event.time > time:
                break
            if event.kind == "label":
                if event.text == "shown":
                    shown = True
                elif event.text == "hidden":
                    shown = False
                else:
                    caption = event.text
        return caption if shown else None

    def views(self):
        """The views in the order they appear, a view written again counted once."""
        result = []
        for event in self.events:
            if event.kind == "view":
                view = tuple(event.text.split())
                if not result or result[-1] != view:
                    result.append(view)
        return result

    def tick_times(self):
        """The moments after the start at which the program acts on its own,
        not on a click of --do."""
        return sorted({event.time for event in self.events
                       if event.time > 0 and event.time not in self._action_times})

    def end_time(self):
        for event in self.events:
            if event.kind == "box" and event.text == "information " + VOYAGE_ENDED:
                return event.time
        raise Failure("the plan has no end of the voyage")

"""The end-to-end cases: the real program driven from outside like a person,
its view file read like Google Earth reads it, and held to the plan that
tembrel-sim computes from the same texts and clicks."""

import re
import time

from harness import Timeline, expect, expect_equal, file_exists, moment
from main_window import EDITS, FILE_MENU, WHITE
from voyage_plan import VOYAGE_ENDED
from x11_session import Failure, poll

# The help window's worked example, with a refresh of one second.
HELP_EXAMPLE = {
    "E_LatD": "48.86", "E_LonD": "2.2877", "E_VE": "1", "E_VS": "0.4",
    "E_VEast": "0.3", "E_VSouth": "0.2", "E_VA": "250", "E_VR": "1",
}
# Its six centres as the view file gives them, row by row from the north-west.
HELP_CENTRES = [
    ("2.28924155235291", "48.8591117858887", "250"),
    ("2.29232478141785", "48.8591117858887", "250"),
    ("2.29540801048279", "48.8591117858887", "250"),
    ("2.28924155235291", "48.8573341369629", "250"),
    ("2.29232478141785", "48.8573341369629", "250"),
    ("2.29540801048279", "48.8573341369629", "250"),
]
# Two kilometres wide instead of one: fourteen centres, time enough to act.
LONG_EXAMPLE = dict(HELP_EXAMPLE, E_VE="2")

SIM_OPTIONS = {
    "E_LatD": "--lat", "E_LonD": "--lon", "E_VE": "--width", "E_VS": "--height",
    "E_VEast": "--snap-width", "E_VSouth": "--snap-height", "E_VA": "--altitude",
    "E_VR": "--refresh",
}

# A locked edit shows the palette's tooltip background.
LOCKED = (255, 255, 220)

DATA_MISSING = "Some data is missing. Please complete your data."
DATA_NOT_CORRECT = "Some Data is not correct. Please review your values."
CONFIRM_STOP = "Are you sure you want to stop the voyage?"
CONFIRM_EXIT = "The voyage is still running, do you really want to exit?"
# The default error box of a failed write: the application's title (the
# executable's name, all but its first letter in lower case) as its caption,
# and the error's text with a full stop.
APPLICATION_TITLE = "tembrel"
ACCESS_DENIED = "File access denied."
# The start of the box that refuses a second voyage in one folder.
ANOTHER_TEMBREL = "Another Tembrel is already writing"


def sim_args(texts, *extra):
    args = []
    for control, text in texts.items():
        args += [SIM_OPTIONS[control], text]
    return args + list(extra)


def gauge_pixels(window, progress):
    return window.gauge_inner_width() * progress // 1_000_000_000


def answer_box(h, title, key, text=None, shot=None, timeline=None):
    """Waits for a message box, looks at it, and answers it with a key at
    once, since ticks go on while it is open; what it says is read off the
    picture afterwards. Returns the picture and, given a timeline, the moment
    of the answer."""
    box = h.display.wait_window(title, 5)
    image = None
    if text is not None or shot is not None:
        x, y, width, height = h.display.geometry(box)
        image = h.display.grab()
        if h.options.wine:
            # Wine maps a box before it paints it: its inside is black until then.
            def painted():
                nonlocal image
                image = h.display.grab()
                black = image.count(lambda p: p == (0, 0, 0), x + width // 4, y + height // 3,
                                    width // 2, height // 3)
                return black < width * height // 12
            poll(painted, 3, f"the '{title}' box to be painted", interval=0.1)

    def press():
        h.display.activate(box)
        h.display.key(key)

    answered = None
    if timeline is None:
        press()
    else:
        answered = timeline.act(f"the answer {key} to '{title}'", press)
    h.display.wait_no_window(title, 5)
    if shot is not None:
        h.shot(shot, image)
    if text is not None:
        # Wine draws message boxes in a thin serif (Windows' own face is not
        # there), read in greys.
        seen = h.display.ocr(image, x, y, width, height, one_line=False,
                             threshold=not h.options.wine)
        expect(text in seen, f"the '{title}' box reads '{seen}', expected it to say '{text}'")
    return image, answered


def expect_running(window, image, what):
    expect(not window.start_button_shown(image), f"{what}: Start is shown during a voyage")
    expect_equal(window.edit_background(image, "E_LatD"), LOCKED,
                 f"{what}: the latitude edit's background (locked)")


def expect_idle(window, image, what):
    expect(window.start_button_shown(image), f"{what}: Start is not shown")
    expect_equal(window.gauge_fill(image), 0, f"{what}: the gauge's bar in pixels")
    expect_equal(window.edit_background(image, "E_LatD"), WHITE,
                 f"{what}: the latitude edit's background (unlocked)")


def wait_end(h, timeline, due):
    """Waits for "The voyage has been ended." and checks it did not come early."""
    h.display.wait_window("Information", max(3, due - timeline.now() + 3))
    came = timeline.now()
    expect(came > due - 0.3, f"the voyage ended at {came:.2f} s, before its {due:g} s")


def check_voyage(window, timeline, plan, expected=None, ticks=None, since=None,
                 gauge_shift=0):
    """Holds what the reader saw and the gauge pictures to the plan, once it
    is clear that nothing the harness did came too near a tick."""
    ticks = plan.tick_times() if ticks is None else ticks
    timeline.check_timing(ticks)
    timeline.check_samples(expected or plan.view_at, ticks, since)
    for t, image in timeline.looks_at("gauge"):
        expect_equal(window.gauge_fill(image),
                     gauge_pixels(window, plan.gauge_at(t - gauge_shift)),
                     f"the gauge's bar in pixels at {t:.2f} s")


def help_example(h):
    """The help window's example at a one-second refresh: six centres in
    order, the first for two periods, the gauge full, the end message, and
    the window back to idle. The help window opened on the way does not
    hold the voyage up."""
    window = h.launch()
    reader = h.reader()
    plan = h.plan(*sim_args(HELP_EXAMPLE))
    expect_equal(plan.views(), HELP_CENTRES, "the plan's centres")
    window.fill(HELP_EXAMPLE)
    h.shot("filled-in")

    timeline = Timeline(reader)
    timeline.start(lambda: window.click("B_Start"))
    for second in range(4):
        timeline.sleep_until(second + 0.3)
        image = timeline.look(h.display, "gauge")
        if second == 0:
            expect_running(window, image, "after Start")
            h.shot("running", image)

    # Help > Help Contents while the voyage runs; Alt+F4 closes it again.
    timeline.after_sample(3.5)
    window.open_menu_item("Help", item_index=0)
    h.display.wait_window("Tembrel Help", 5)
    h.shot("help-window-during-voyage")
    h.display.press_in_window("Tembrel Help", "alt+F4")
    h.display.wait_no_window("Tembrel Help", 5)

    for second in (5, 6):
        timeline.sleep_until(second + 0.3)
        timeline.look(h.display, "gauge")

    wait_end(h, timeline, plan.end_time())
    image, _ = answer_box(h, "Information", "Return", VOYAGE_ENDED, shot="voyage-ended")
    expect_equal(window.gauge_fill(image), window.gauge_inner_width(),
                 "the gauge's bar in pixels while the end message is open")
    expect_equal(window.gauge_text(image, on_bar=True), "100%", "the gauge's text")
    expect_idle(window, h.shot("idle-again"), "after the end message")

    reader.wait_count(len(reader.samples()) + 2)
    check_voyage(window, timeline, plan)
    seen = timeline.views_seen()
    expect_equal([view for view, _ in seen], HELP_CENTRES, "the views the reader flew to")
    expect_equal([count for _, count in seen[:-1]], [2, 1, 1, 1, 1],
                 "how many refreshes each of the first five views lasted")


def pause_resume_stop(h):
    """Pause holds the view, Resume goes on from it, Stop answered No goes on,
    Stop answered Yes ends the voyage early."""
    window = h.launch()
    reader = h.reader()
    window.fill(LONG_EXAMPLE)

    timeline = Timeline(reader)
    timeline.start(lambda: window.click("B_Start"))
    timeline.after_sample(3.5)
    paused = timeline.act("Pause", lambda: window.click("B_Pause"))
    image = timeline.look(h.display, "gauge")
    expect(window.start_button_shown(image), "Resume is not shown while paused")
    expect_equal(window.edit_background(image, "E_LatD"), LOCKED,
                 "the latitude edit's background while paused")
    h.shot("paused", image)

    # The resumed voyage ticks a whole period after the click; a click on a
    # whole second keeps the ticks half-way between the reader's samples.
    timeline.sleep_until(6)
    resumed = timeline.act("Resume", lambda: window.click("B_Start"))
    timeline.sleep_until(resumed + 1.3)
    expect_running(window, timeline.look(h.display, "gauge"), "after Resume")

    timeline.after_sample(8.5)
    window.click("B_Stop")
    answer_box(h, "Confirm", "Escape", CONFIRM_STOP, shot="stop-question")  # Escape is No
    timeline.sleep_until(resumed + 3.3)
    expect_running(window, timeline.look(h.display, "gauge"), "after Stop answered No")

    timeline.after_write(h.view_file, 10)
    window.click("B_Stop")
    _, stopped = answer_box(h, "Confirm", "y", timeline=timeline)
    answer_box(h, "Information", "Return", VOYAGE_ENDED, shot="stopped")
    expect_idle(window, h.shot("idle-again"), "after Stop answered Yes")

    reader.wait_count(len(reader.samples()) + 2)
    plan = h.plan(*sim_args(LONG_EXAMPLE), "--do", "0:start", "--do", f"{moment(paused)}:pause",
                  "--do", f"{moment(resumed)}:start", "--do", f"{moment(stopped)}:stop")
    check_voyage(window, timeline, plan)
    seen = [view for view, _ in timeline.views_seen()]
    expect(seen == plan.views() and len(seen) < 14,
           f"the views seen {seen} are not the plan's {plan.views()} of a voyage stopped early")


def multiple_areas(h):
    """Two small areas typed into the grid, flown one after the other, the
    area label naming each; the end message after the second."""
    rows = [("48.86", "2.2877", "0.6", "0.2"), ("48.85", "2.3", "0.3", "0.4")]
    snapshots = {key: HELP_EXAMPLE[key] for key in ("E_VEast", "E_VSouth", "E_VA", "E_VR")}
    window = h.launch()
    reader = h.reader()
    plan = h.plan(*sim_args(snapshots), "--tab", "areas", "--grid", h.grid_file(rows))
    window.fill(snapshots)
    window.select_tab("areas")
    for row, cells in enumerate(rows):
        for column, text in enumerate(cells):
            window.type_into_cell(column, row, text)
    h.shot("grid-filled-in")

    timeline = Timeline(reader)
    timeline.start(lambda: window.click("B_Start"))
    for second in range(7):
        timeline.sleep_until(second + 0.3)
        timeline.look(h.display, "gauge")
    wait_end(h, timeline, plan.end_time())
    answer_box(h, "Information", "Return", VOYAGE_ENDED)
    image = h.shot("idle-again")
    expect(not window.area_label_shown(image), "the area label is still shown after the end")
    expect(window.start_button_shown(image), "Start is not shown after the end")

    reader.wait_count(len(reader.samples()) + 2)
    check_voyage(window, timeline, plan)
    captions = []
    for t, image in timeline.looks_at("gauge"):
        caption = plan.label_at(t)
        if caption is not None and caption not in captions:
            captions.append(caption)
            h.shot(f"area-{len(captions)}", image)
            expect_equal(window.area_label_text(image), caption, f"the area label at {t:.2f} s")
    expect_equal(captions, ["Now scanning area no. 1", "Now scanning area no. 2"],
                 "the captions the plan gives the label")


def scattered_points(h):
    """Three points typed into the memo: each written one period after it is
    loaded, the last one ending the voyage in the same tick."""
    memo = "2.2945, 48.8584\n2.2950, 48.8738\n2.3376, 48.8606"
    inputs = {"E_VA": "300", "E_VR": "1"}
    window = h.launch()
    reader = h.reader()
    plan = h.plan(*sim_args(inputs), "--tab", "points", "--memo", h.memo_file(memo))
    expect_equal(len(plan.views()), 3, "the plan's number of points")
    window.fill(inputs)
    window.select_tab("points")
    window.type_memo(memo)
    h.shot("points-typed-in")

    timeline = Timeline(reader)
    timeline.start(lambda: window.click("B_Start"))
    for second in range(3):
        timeline.sleep_until(second + 0.3)
        timeline.look(h.display, "gauge")
    wait_end(h, timeline, plan.end_time())
    answer_box(h, "Information", "Return", VOYAGE_ENDED, shot="voyage-ended")
    expect(window.start_button_shown(h.shot("idle-again")), "Start is not shown after the end")

    reader.wait_count(len(reader.samples()) + 2)
    check_voyage(window, timeline, plan)
    expect_equal([count for _, count in timeline.views_seen()[:-1]], [1, 1],
                 "how many refreshes the first two points lasted")


def bad_input(h):
    """Start with nothing typed, then with a comma for a decimal point: the
    error boxes, nothing written, and the window usable again."""
    window = h.launch()
    reader = h.reader()
    window.click("B_Start")
    answer_box(h, "Error", "Return", DATA_MISSING, shot="data-missing")

    window.fill(dict(HELP_EXAMPLE, E_LatD="48,86"))
    window.click("B_Start")
    answer_box(h, "Error", "Return", DATA_NOT_CORRECT, shot="data-not-correct")
    expect_idle(window, h.shot("usable-again"), "after the failed start")
    expect(not file_exists(h.view_file), "a failed start wrote the view file")

    # Usable again: the latitude mended, the voyage starts.
    window.type_into("E_LatD", "48.86")
    timeline = Timeline(reader)
    timeline.start(lambda: window.click("B_Start"))
    timeline.after_write(h.view_file, 2)
    window.click("B_Stop")
    _, stopped = answer_box(h, "Confirm", "y", timeline=timeline)
    answer_box(h, "Information", "Return", VOYAGE_ENDED)
    reader.wait_count(len(reader.samples()) + 1)
    plan = h.plan(*sim_args(HELP_EXAMPLE), "--do", "0:start", "--do", f"{moment(stopped)}:stop")
    check_voyage(window, timeline, plan)
    expect(all(sample.unreadable for sample in reader.samples()
               if sample.arrival < timeline.t0),
           "the reader found a view before the good start")


def close_and_restart(h):
    """The close box while a voyage runs: the question, No keeps it running,
    Yes closes. After a restart the eight texts are back and fly the same
    voyage; the grid and the memo hold their examples again."""
    window = h.launch()
    # The grid and the memo are pictured without the focus, whose frame and
    # blinking caret would differ from one picture to the next.
    window.select_tab("areas")
    window.click("E_VR")
    grid_before = window.region(h.shot("grid-at-first-start"), "SG_Areas")
    window.type_into_cell(0, 0, "1.5")
    window.select_tab("points")
    window.click("E_VR")
    memo_before = window.region(h.shot("memo-at-first-start"), "M_Points")
    window.type_memo("5, 5")
    window.select_tab("area")
    window.fill(LONG_EXAMPLE)
    typed = h.shot("typed")
    reader = h.reader()
    plan = h.plan(*sim_args(LONG_EXAMPLE))

    timeline = Timeline(reader)
    timeline.start(lambda: window.click("B_Start"))
    timeline.after_sample(2.5)
    window.close_box()
    answer_box(h, "Confirm", "n", CONFIRM_EXIT, shot="exit-question")
    timeline.sleep_until(3.3)
    expect(h.program.poll() is None, "the program ended although the answer was No")
    expect_running(window, timeline.look(h.display, "gauge"), "after the exit answered No")

    timeline.after_write(h.view_file, 4)
    window.close_box()
    _, closed = answer_box(h, "Confirm", "y", timeline=timeline)
    expect_equal(h.wait_exit(5), 0, "the program's exit status")
    reader.wait_count(len(reader.samples()) + 2)
    # The file keeps the view of the last tick before the close.
    check_voyage(window, timeline, plan, expected=lambda t: plan.view_at(min(t, closed)))

    saved = h.saved_texts()
    expect_equal({name: saved.get(name) for name in EDITS}, LONG_EXAMPLE, "the saved texts")

    # The restart: the texts are back, on screen and in the voyage they fly.
    window = h.launch()
    image = h.shot("restarted")
    unfocused = [control for control in EDITS if not window.edit_has_focus(image, control)]
    expect(len(unfocused) >= 7, f"only {unfocused} show no focus frame")
    for control in unfocused:  # a caret would blur the focused edit's text
        # Each edit looks as it did when typed; Wine's thin texts are not read
        # reliably alone (a lone "2" reads as "a"), its pictures are compared.
        if not window.edit_has_focus(typed, control):
            expect(window.region(image, control).ppm() == window.region(typed, control).ppm(),
                   f"{control} after the restart does not look as when typed")
        if not h.options.wine:
            expect_equal(window.edit_text(image, control), LONG_EXAMPLE[control],
                         f"the text of {control} after the restart")
    window.select_tab("areas")
    window.click("E_VR")
    grid_after = window.region(h.shot("grid-after-restart"), "SG_Areas")
    expect(grid_after.ppm() == grid_before.ppm(), "the grid does not show its example rows")
    window.select_tab("points")
    window.click("E_VR")
    memo_after = window.region(h.shot("memo-after-restart"), "M_Points")
    expect(memo_after.ppm() == memo_before.ppm(), "the memo does not show its example lines")
    window.select_tab("area")

    restart = Timeline(reader)
    restart.start(lambda: window.click("B_Start"))
    restart.after_sample(2.5)
    paused = restart.act("Pause", lambda: window.click("B_Pause"))
    # File > Exit while paused: nothing to ask.
    window.open_menu_item("File", item_index=0)
    expect_equal(h.wait_exit(5), 0, "the exit status after File > Exit")
    expect(not h.display.windows("Confirm"), "the exit of a paused voyage asked a question")
    reader.wait_count(len(reader.samples()) + 1)
    # Until the new start the file keeps what the first run last wrote.
    check_voyage(window, restart, plan, since=-1,
                 expected=lambda t: plan.view_at(closed if t < 0 else min(t, paused)))


def unwritable_view_file(h):
    """A directory in the view file's place: one error box while the ticks go
    on and retry, the position held; once the file can be written again the
    voyage goes on from where it stopped and the box closes by itself."""
    window = h.launch()
    reader = h.reader()
    plan = h.plan(*sim_args(LONG_EXAMPLE))
    window.fill(LONG_EXAMPLE)

    def block():
        h.view_file.unlink()
        h.view_file.mkdir()

    timeline = Timeline(reader)
    timeline.start(lambda: window.click("B_Start"))
    timeline.after_sample(3.5)
    blocked_from = timeline.act("the directory put in the file's place", block)

    # The tick at 4 s cannot write: its error box. The tick at 5 s fails
    # again behind it and opens no second box.
    boxes = []  # (when it came, its window)

    def watch_boxes(until):
        while timeline.now() < until:
            shown = h.display.windows(APPLICATION_TITLE)
            expect(len(shown) <= 1, f"{len(shown)} error boxes open at {timeline.now():.2f} s")
            for box in shown:
                if box not in [known for _, known in boxes]:
                    boxes.append((timeline.now(), box))
            time.sleep(0.05)

    watch_boxes(4.4)
    expect(boxes, "no error box after the tick at 4 s")
    box_geometry = h.display.geometry(boxes[-1][1])
    box_image = h.display.grab()
    watch_boxes(5.5)
    timeline.after_sample(5.5)
    expect(h.display.windows(APPLICATION_TITLE), "the error box closed while the fault lasted")
    unblocked_at = timeline.act("the directory removed", h.view_file.rmdir)
    # Nobody answers the box: the tick at 6 s writes and closes it.
    h.display.wait_no_window(APPLICATION_TITLE, 5)
    closed_at = timeline.now()
    timeline.sleep_until(6.3)
    timeline.look(h.display, "gauge")

    text = h.display.ocr(h.shot("error-box", box_image), *box_geometry, one_line=False)
    expect(ACCESS_DENIED in text, f"the error box reads '{text}', expected '{ACCESS_DENIED}'")
    came = [round(t, 1) for t, _ in boxes]
    expect(len(boxes) == 1 and abs(boxes[0][0] - 4) < 0.35,
           f"error boxes came at {came} s; expected one, at the tick at 4 s")
    expect(abs(closed_at - 6) < 0.4,
           f"the error box closed at {closed_at:.2f} s; expected at the tick at 6 s")

    # Each refused tick put the rest of the voyage off by one period.
    blocked_ticks = 2

    def expected(t):
        if blocked_from < t < unblocked_at:
            return None
        return plan.view_at(t if t < blocked_from else t - blocked_ticks)

    due = plan.end_time() + blocked_ticks
    wait_end(h, timeline, due)
    answer_box(h, "Information", "Return", VOYAGE_ENDED, shot="voyage-ended")
    expect(window.start_button_shown(h.display.grab()), "Start is not shown after the end")
    reader.wait_count(len(reader.samples()) + 1)
    check_voyage(window, timeline, plan, expected=expected, ticks=range(1, int(due) + 1),
                 gauge_shift=blocked_ticks)
    expect_equal([view for view, _ in timeline.views_seen()], plan.views(),
                 "the views the reader flew to, the refused ones left aside")


def second_copy_same_folder(h):
    """A second copy started in the same folder during a voyage: its Start
    is refused with an error box and its window goes back to idle, while
    the first voyage goes on alone to its planned end."""
    first = h.launch()
    reader = h.reader()
    plan = h.plan(*sim_args(LONG_EXAMPLE))
    first.fill(LONG_EXAMPLE)
    timeline = Timeline(reader)
    timeline.start(lambda: first.click("B_Start"))

    second = h.launch_beside()
    # The first copy serves the live link on the kept port: the second says
    # so once its window shows, and serves on another port.
    answer_box(h, "Information", "Return", shot="port-taken")
    second.fill(dict(HELP_EXAMPLE, E_LatD="10"))
    second.click("B_Start")
    answer_box(h, "Error", "Return", ANOTHER_TEMBREL, shot="another-tembrel")
    expect_idle(second, h.shot("second-idle"), "the second window after the refused start")

    wait_end(h, timeline, plan.end_time())
    answer_box(h, "Information", "Return", VOYAGE_ENDED)
    reader.wait_count(len(reader.samples()) + 1)
    expect_equal([view for view, _ in timeline.views_seen()], plan.views(),
                 "the views the reader flew to")


# _MOTIF_WM_HINTS: its flags say which of functions and decorations it sets;
# the ALL bit would turn either list into the ones taken away.
MWM_HINTS_FUNCTIONS, MWM_HINTS_DECORATIONS = 0x1, 0x2
MWM_ALL = 0x1
MWM_FUNC_MINIMIZE, MWM_FUNC_MAXIMIZE, MWM_FUNC_CLOSE = 0x8, 0x10, 0x20
MWM_DECOR_MINIMIZE, MWM_DECOR_MAXIMIZE = 0x20, 0x40


def window_properties(h, window):
    """The window's properties that a window manager reads or writes, by
    name, as xprop prints them."""
    text = h.display.run(["xprop", "-id", str(window), "_NET_WM_WINDOW_TYPE", "WM_TRANSIENT_FOR",
                          "_MOTIF_WM_HINTS", "_NET_WM_ALLOWED_ACTIONS", "_NET_WM_STATE"])
    found = {}
    for line in text.splitlines():
        match = re.match(r"(\w+)\([\w ]+\)(?: = |: window id # )(.*)$", line)
        if match:
            found[match.group(1)] = [v.strip() for v in match.group(2).split(",") if v.strip()]
    return found


def mapped(h, window):
    return "IsViewable" in h.display.run(["xwininfo", "-id", str(window)], check=False)


def expect_close_box_only(h, window, box, what):
    """The box asks the window manager for a modal dialog of the main window
    with a close box and no minimise or maximise; the window manager (openbox)
    allows it neither maximising nor resizing. Openbox offers minimise on
    every decorated dialog whatever the hints ask: minimised, the box comes
    straight back, and the main window with it."""
    found = window_properties(h, box)
    types = found.get("_NET_WM_WINDOW_TYPE", [])
    expect(types[:1] == ["_NET_WM_WINDOW_TYPE_DIALOG"],
           f"{what}: the box's window type is {types}, not a dialog first")
    owner = found.get("WM_TRANSIENT_FOR", [])
    expect(owner and int(owner[0], 16) == window.window,
           f"{what}: the box is transient for {owner}, not the main window {window.window:#x}")
    # Under Wine the owner is disabled instead, as on Windows, and no X
    # property says so.
    if not h.options.wine:
        expect("_NET_WM_STATE_MODAL" in found.get("_NET_WM_STATE", []),
               f"{what}: the box is not modal: {found.get('_NET_WM_STATE')}")
    hints = [int(v, 16) for v in found.get("_MOTIF_WM_HINTS", [])]
    if len(hints) < 3:
        raise Failure(f"{what}: the box has no _MOTIF_WM_HINTS: {hints}")
    flags, functions, decorations = hints[:3]
    expect(flags & MWM_HINTS_FUNCTIONS and not functions & MWM_ALL
           and functions & MWM_FUNC_CLOSE
           and not functions & (MWM_FUNC_MINIMIZE | MWM_FUNC_MAXIMIZE),
           f"{what}: the box's Motif functions {functions:#x} (flags {flags:#x}) are not "
           "close without minimise and maximise")
    expect(flags & MWM_HINTS_DECORATIONS and not decorations & MWM_ALL
           and not decorations & (MWM_DECOR_MINIMIZE | MWM_DECOR_MAXIMIZE),
           f"{what}: the box's Motif decorations {decorations:#x} (flags {flags:#x}) show "
           "minimise or maximise")
    allowed = found.get("_NET_WM_ALLOWED_ACTIONS", [])
    expect("_NET_WM_ACTION_CLOSE" in allowed, f"{what}: the window manager allows no close")
    for action in ("_NET_WM_ACTION_MAXIMIZE_HORZ", "_NET_WM_ACTION_MAXIMIZE_VERT",
                   "_NET_WM_ACTION_RESIZE"):
        expect(action not in allowed, f"{what}: the window manager allows {action}")

    # Minimising through openbox is a Linux matter: on Windows the system
    # draws the box's frame, and Wine minimises the box with its owner as
    # Windows minimises an owned window, with nothing to bring it back.
    if not h.options.wine:
        h.display.run(["xdotool", "windowminimize", str(box)])
        poll(lambda: mapped(h, box) and mapped(h, window.window), 5,
             f"{what}: the box and the main window back after minimising the box")


def box_window_hints(h):
    """The end message and a Tools box ask for a close box only, and the
    window manager sees it so (read with xprop on the real boxes); minimised
    by the window manager, each comes back with the main window."""
    window = h.launch()
    window.fill(HELP_EXAMPLE)
    timeline = Timeline(h.reader())
    timeline.start(lambda: window.click("B_Start"))
    wait_end(h, timeline, 7)
    box = h.display.wait_window("Information", 5)
    h.shot("voyage-ended")
    expect_close_box_only(h, window, box, "the end message")
    h.shot("voyage-ended-after-minimise")
    answer_box(h, "Information", "Return", VOYAGE_ENDED)

    # Tools > Voyage estimate: a click on "File", then Right twice to "Tools".
    window.display.click(window.x + FILE_MENU, window.top + window.menu_height // 2)
    window.display.key("Right", "Right", "Down", "Down", "Down", "Return")
    box = h.display.wait_window("Information", 5)
    h.shot("voyage-estimate")
    expect_close_box_only(h, window, box, "the voyage estimate")
    answer_box(h, "Information", "Return")


CASES = {
    "help_example": help_example,
    "pause_resume_stop": pause_resume_stop,
    "multiple_areas": multiple_areas,
    "scattered_points": scattered_points,
    "bad_input": bad_input,
    "close_and_restart": close_and_restart,
    "unwritable_view_file": unwritable_view_file,
    "second_copy_same_folder": second_copy_same_folder,
    "box_window_hints": box_window_hints,
}

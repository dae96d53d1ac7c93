"""End-to-end cases with earth-standin on Google Earth's side of the link:
a real voyage followed through today's file link, and through the live link
served by the program itself, whose light right of the gauge says whether
Google Earth follows; and the snapshot size measured with the stand-in's
geometry, in Tembrel's units.

The live link's cases need the program's view server: in a build without
it the runner reports them as skipped, with the reason."""

import re
from xml.sax.saxutils import escape

from cases import HELP_CENTRES, HELP_EXAMPLE, LONG_EXAMPLE, answer_box, sim_args, wait_end
from earth_standin import (VIEW_FORMAT, box_for, check_camera_follows, file_link, snapshot_km,
                           start_standin)
from harness import PORT_VALUE, SECRET_VALUE, SETTINGS_KEY, Timeline, expect, expect_equal
from main_window import FILE_MENU
from voyage_plan import VOYAGE_ENDED
from x11_session import Failure, poll

def needs_live_server(case):
    """A case that needs the program's view server: skipped, with the reason,
    in a build without it."""
    case.needs_live_server = True
    return case


def standin_file_link(h):
    """The help window's example followed through today's file link: the
    stand-in reads the view file once a second, flies to each of the six
    centres in turn, and its camera's box is the one its geometry gives."""
    window = h.launch()
    standin = start_standin(h, file_link(h.view_file, 1))
    plan = h.plan(*sim_args(HELP_EXAMPLE))
    window.fill(HELP_EXAMPLE)

    timeline = Timeline(standin)
    timeline.start(lambda: window.click("B_Start"))
    wait_end(h, timeline, plan.end_time())
    answer_box(h, "Information", "Return", VOYAGE_ENDED, shot="voyage-ended")
    standin.wait_count(len(standin.samples()) + 2)

    timeline.check_timing(plan.tick_times())
    timeline.check_samples(plan.view_at, plan.tick_times())
    fetches = standin.samples()
    expect_equal({f.status for f in fetches if f.view is not None}, {"file"},
                 "the status of each fetch that read a view")
    expect_equal([view for view, _ in timeline.views_seen()], HELP_CENTRES,
                 "the views the stand-in flew to")
    check_camera_follows(fetches)
    # At 250 m the stand-in sees 0.289 km by 0.202 km of ground at 48.857°N,
    # which Tembrel's units give as 0.383 by 0.204 snapshot km.
    width, height = snapshot_km(fetches[-1].box)
    expect(abs(width - 0.3835) < 1e-3 and abs(height - 0.2042) < 1e-3,
           f"the last box measures {width:.4f} by {height:.4f} snapshot km")


# ------------------------------------------------------------- the live link

# The light right of the gauge, on the button panel: its centre in the
# client area, and its colours.
INDICATOR = (462, 441)
GREEN = (0, 160, 0)
AMBER = (230, 150, 0)
RED = (200, 0, 0)
GREY = (150, 150, 150)
LIGHTS = {GREEN: "green", AMBER: "amber", RED: "red", GREY: "grey"}


def light(window, image):
    """The indicator's colour by name, or its pixel when it is none of them."""
    pixel = image.pixel(window.x + INDICATOR[0], window.y + INDICATOR[1])
    return LIGHTS.get(pixel, pixel)


def light_tip(h, window, what):
    """The light's tooltip as a user reads it: the pointer rests on the light
    until the tip shows below it, and what shows there is read."""
    x, y = window.x + INDICATOR[0], window.y + INDICATOR[1]
    before = h.display.grab()
    h.display.hover(x, y)
    # Only the tip changes below the light: the gauge is on its row.
    poll(lambda: before.changed(h.display.grab(), y + 8, y + 90), 5,
         f"the light's tooltip ({what})", interval=0.2)
    # Read once it has settled: a tip is drawn in more than one step.
    shown = [h.display.grab()]

    def settled():
        image = h.display.grab()
        same = shown[-1].changed(image, y + 8, y + 90) is None
        shown.append(image)
        return same
    poll(settled, 5, f"the light's tooltip to settle ({what})", interval=0.2)
    image = shown[-1]
    box = before.changed(image, y + 8, y + 90)
    h.shot(f"tip-{what.replace(' ', '-')}", image)
    text = h.display.ocr(image, *box)
    h.display.hover(window.x + 10, window.y - 40)
    return text


def live_port(h):
    """The view server's port, as the program keeps it for the user: a file
    beside its settings, or under Wine a DWORD of its registry key."""
    if h.options.wine:
        def kept():
            try:
                return h.registry_values().get(PORT_VALUE)
            except Failure:
                return None
        kind, data = poll(kept, 10, f"the view server's port in {SETTINGS_KEY}", interval=0.5)
        expect_equal(kind, "REG_DWORD", "the type of the port's value")
        return int(data, 16)
    path = h.config_home / "Tembrel" / PORT_VALUE
    poll(path.exists, 5, f"the view server's port in {path}")
    return int(path.read_text().strip())


def live_secret(h):
    """The secret of the live link's path, kept beside the port: a file
    readable by the user alone, or under Wine a string of the registry key."""
    if h.options.wine:
        def kept():
            try:
                return h.registry_values().get(SECRET_VALUE)
            except Failure:
                return None
        kind, data = poll(kept, 10, f"the live link's secret in {SETTINGS_KEY}", interval=0.5)
        expect_equal(kind, "REG_SZ", "the type of the secret's value")
        return data
    path = h.config_home / "Tembrel" / SECRET_VALUE
    poll(path.exists, 5, f"the live link's secret in {path}")
    expect_equal(path.stat().st_mode & 0o077, 0, f"the permissions of {path} for others")
    return path.read_text().strip()


def live_href(h):
    """The live link's address: the kept port and the secret path."""
    return f"http://127.0.0.1:{live_port(h)}/{live_secret(h)}/TembrelData.KML"


def live_link_text(href, period, fly=True, view_refresh="onRequest"):
    """The live link in the form "Create live Google Earth link..." writes
    (view_refresh "never" as an earlier version wrote it)."""
    return ("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<kml xmlns=\"http://www.opengis.net/kml/2.2\"><NetworkLink><name>Tembrel</name>"
            f"<flyToView>{int(fly)}</flyToView><Link>"
            f"<href>{escape(href)}</href>"
            f"<refreshMode>onInterval</refreshMode><refreshInterval>{period}</refreshInterval>"
            f"<viewRefreshMode>{view_refresh}</viewRefreshMode><viewFormat>{escape(VIEW_FORMAT)}"
            "</viewFormat></Link></NetworkLink></kml>\n")


def open_tools_item(h, window, item_index):
    """Picks the item_index-th command (separators not counted) of "Tools",
    the third menu: a click on "File", then Right twice, which opens "Tools"
    with its first command chosen."""
    window.display.click(window.x + FILE_MENU, window.top + window.menu_height // 2)
    window.display.key("Right", "Right", *(["Down"] * item_index), "Return")


def create_live_link(h, window):
    """Tools > "Create live Google Earth link...", saved under the name it
    suggests beside the view file: the link file's text."""
    open_tools_item(h, window, 2)
    h.display.press_in_window("Create live Google Earth link", "Return")
    answer_box(h, "Information", "Return", "live Google Earth link has been written",
               shot="live-link-written")
    return (h.work / "TembrelLiveLink.kml").read_text()


def start_voyage(h, window, texts, link, *options, fill=True):
    """Fills in the window, starts the stand-in on the link and the voyage
    half a period after one of its fetches."""
    if fill:
        window.fill(texts)
    standin = start_standin(h, link, *options)
    timeline = Timeline(standin)
    timeline.start(lambda: window.click("B_Start"))
    return standin, timeline


def expect_light(h, window, timeline, t, wanted, what):
    timeline.sleep_until(t)
    image = timeline.look(h.display, "light")
    seen = light(window, image)
    if seen != wanted:
        h.shot(f"light-{what.replace(' ', '-')}", image)
    expect_equal(seen, wanted, f"the light right of the gauge at {t:g} s ({what})")


@needs_live_server
def live_following(h):
    """The help example through the live link that Tools > "Create live
    Google Earth link..." writes: the stand-in fetches once a period with its
    camera in the query, flies to each centre, and the light right of the
    gauge turns green."""
    window = h.launch()
    window.fill(HELP_EXAMPLE)
    link = create_live_link(h, window)
    expect(f"<href>{live_href(h)}</href>" in link,
           "the live link names the view server's port and secret path")
    expect("<viewRefreshMode>onRequest</viewRefreshMode>" in link,
           "the live link asks for the camera with each fetch")
    plan = h.plan(*sim_args(HELP_EXAMPLE))
    standin, timeline = start_voyage(h, window, HELP_EXAMPLE, link, fill=False)
    expect_light(h, window, timeline, 4.3, "green", "following")
    h.shot("following", timeline.looks_at("light")[-1][1])
    wait_end(h, timeline, plan.end_time())
    answer_box(h, "Information", "Return", VOYAGE_ENDED)
    standin.wait_count(len(standin.samples()) + 2)

    timeline.check_timing(plan.tick_times())
    timeline.check_samples(plan.view_at, plan.tick_times())
    fetches = standin.samples()
    expect_equal({f.status for f in fetches if f.view is not None}, {"200"},
                 "the status of each fetch that read a view")
    expect_equal([view for view, _ in timeline.views_seen()], HELP_CENTRES,
                 "the views the stand-in flew to")
    check_camera_follows(fetches)


@needs_live_server
def live_period_mismatch(h):
    """The live link refreshed every 2 s while Refresh Every says 1: the
    light turns amber, and no box interrupts the voyage."""
    window = h.launch()
    standin, timeline = start_voyage(h, window, LONG_EXAMPLE, live_link_text(live_href(h), 2))
    expect_light(h, window, timeline, 8.3, "amber", "another period")
    tip = light_tip(h, window, "another period")
    expect("fetches every 2 s" in tip and "Refresh Every" in tip,
           f"the light's tooltip reads '{tip}'")
    expect(not h.display.windows("Information|Warning|Error|Confirm"), "no box during the voyage")
    times = [f.arrival for f in standin.samples()]
    gaps = [later - earlier for earlier, later in zip(times, times[1:])]
    expect(all(abs(gap - 2) < 0.3 for gap in gaps), f"the stand-in fetched {gaps} s apart")


@needs_live_server
def live_fly_to_view_off(h):
    """The stand-in fetches once a period but never flies: the light turns
    amber while its camera stays where it was."""
    window = h.launch()
    standin, timeline = start_voyage(h, window, LONG_EXAMPLE, live_link_text(live_href(h), 1),
                                     "--no-fly", "--camera", "0,0,5000")
    expect_light(h, window, timeline, 5.3, "amber", "camera away")
    tip = light_tip(h, window, "camera away")
    expect("not at the last view" in tip and "Fly to View" in tip,
           f"the light's tooltip reads '{tip}'")
    expect_equal({f.camera for f in standin.samples()}, {(0.0, 0.0, 5000.0)},
                 "the stand-in's camera")
    expect(any(f.view for f in standin.samples()), "the stand-in read no view")


@needs_live_server
def live_earth_closed(h):
    """Google Earth closed mid-voyage: the light is green while it follows,
    red two periods after its last fetch, and the voyage goes on to its end
    without a box."""
    window = h.launch()
    plan = h.plan(*sim_args(LONG_EXAMPLE))
    standin, timeline = start_voyage(h, window, LONG_EXAMPLE, live_link_text(live_href(h), 1))
    expect_light(h, window, timeline, 3.3, "green", "following")
    timeline.after_sample(3.5)
    standin.close()
    expect_light(h, window, timeline, 6.3, "red", "not fetching")
    tip = light_tip(h, window, "not fetching")
    expect("has not fetched the view for" in tip, f"the light's tooltip reads '{tip}'")
    expect(not h.display.windows("Information|Warning|Error|Confirm"), "no box during the voyage")
    wait_end(h, timeline, plan.end_time())
    answer_box(h, "Information", "Return", VOYAGE_ENDED)


@needs_live_server
def live_link_without_camera(h):
    """A live link whose view refresh is "never", as Google Earth is told by
    a link of an earlier version (or by its own properties set so): the
    stand-in, following the KML reference, sends no camera, and the light
    asks for the live link again; the earlier version's path is not served."""
    window = h.launch()
    old = start_standin(h, live_link_text(f"http://127.0.0.1:{live_port(h)}/TembrelData.KML", 1,
                                          view_refresh="never"))
    standin, timeline = start_voyage(h, window, LONG_EXAMPLE,
                                     live_link_text(live_href(h), 1, view_refresh="never"))
    expect_light(h, window, timeline, 4.3, "amber", "no camera")
    tip = light_tip(h, window, "no camera")
    expect("sends no camera" in tip and "live link again" in tip,
           f"the light's tooltip reads '{tip}'")
    expect(any(f.view for f in standin.samples()), "the stand-in read no view")
    expect_equal({f.status for f in old.samples()}, {"404"},
                 "what the earlier version's path gets")
    expect(not h.display.windows("Information|Warning|Error|Confirm"), "no box during the voyage")


def near(view, centre):
    """Whether a view or point is at a centre (to the 6 decimals a point
    file keeps), both as texts."""
    return all(abs(float(a.replace(",", ".")) - float(b)) < 1e-6
               for a, b in zip(view[:2], centre[:2]))


@needs_live_server
def live_missed_centres_reflown(h):
    """Google Earth opened late: the first centres are missed; Tools >
    "Voyage report..." says so and exports them as points, "Import points..."
    loads them, and a second voyage over them reaches every one."""
    window = h.launch()
    window.fill(HELP_EXAMPLE)
    plan = h.plan(*sim_args(HELP_EXAMPLE))
    timeline = Timeline(h.reader())
    timeline.start(lambda: window.click("B_Start"))
    # Google Earth comes up once the third centre has been written (the first
    # lasts two periods).
    timeline.sleep_until(3.5)
    standin = start_standin(h, live_link_text(live_href(h), 1))
    wait_end(h, timeline, plan.end_time())
    answer_box(h, "Information", "Return", VOYAGE_ENDED)
    standin.wait_count(len(standin.samples()) + 2)
    seen = [f.view for f in standin.samples() if f.view]
    missed = [c for c in HELP_CENTRES if not any(near(view, c) for view in seen)]
    expect(2 <= len(missed) < len(HELP_CENTRES), f"the late start missed {missed}")

    open_tools_item(h, window, 4)
    reached, written, missed_count = report_counts(h, "y", "voyage-report")
    # A centre held for two periods is one centre.
    expect_equal(reached, len(HELP_CENTRES) - len(missed), "the report's centres reached")
    expect(written == len(HELP_CENTRES) and missed_count == written - reached,
           f"the report says {reached} of {written} reached, {missed_count} missed")
    h.display.press_in_window("Export missed centres", "Return")
    h.display.press_in_window("Export reported boxes", "Return")
    answer_box(h, "Information", "Return", "Written:")
    rows = (h.work / "TembrelMissed.csv").read_text().strip().splitlines()[1:]
    exported = [tuple(row.split(",")) for row in rows]
    expect(len(exported) == len(missed) and
           all(any(near(point, c) for point in exported) for c in missed),
           f"the missed centres exported: {sorted(exported)}, expected {missed}")

    open_tools_item(h, window, 7)
    h.display.press_in_window("Import points", "ctrl+a")
    h.display.type("TembrelMissed.csv")
    h.display.key("Return")
    h.display.wait_no_window("Import points", 5)
    window.select_tab("points")
    before = len(standin.samples())
    second = Timeline(standin)
    second.start(lambda: window.click("B_Start"))
    h.display.wait_window("Information", 5 + 2 * len(missed))
    answer_box(h, "Information", "Return", VOYAGE_ENDED, shot="second-voyage-ended")
    standin.wait_count(len(standin.samples()) + 2)
    again = [f.view for f in standin.samples()[before:] if f.view]
    expect(all(any(near(view, c) for view in again) for c in missed),
           f"the second voyage flew {again}, not every missed centre {missed}")
    open_tools_item(h, window, 4)
    reached, written, missed_count = report_counts(h, "n", "second-report")
    expect_equal((reached, missed_count), (written, 0), "the second report's reached and missed")


def report_counts(h, key, shot):
    """Centres reached, written and missed, as the voyage report's box says;
    the box is answered with key."""
    box = h.display.wait_window("Confirm", 5)
    image = h.shot(shot)
    text = h.display.ocr(image, *h.display.geometry(box), one_line=False)
    h.display.activate(box)
    h.display.key(key)
    h.display.wait_no_window("Confirm", 5)
    match = re.search(r"reached (\d+) of the (\d+) centres written \(missed: (\d+)\)", text)
    if match is None:
        raise Failure(f"the voyage report reads '{text}'")
    return tuple(int(n) for n in match.groups())


@needs_live_server
def live_measure_snapshot(h):
    """Tools > "Measure snapshot size..." at 250 m with the stand-in's
    1000x700 window and 60° field of view: the sizes it offers and puts into
    the snapshot fields are what the stand-in's geometry gives at the Area's
    centre, in Tembrel's units."""
    window = h.launch()
    window.fill(HELP_EXAMPLE)
    standin = start_standin(h, live_link_text(live_href(h), 1), "--window", "1000x700",
                            "--fov", "60", "--camera", "0,0,9000")
    standin.wait_count(1, timeout=5)
    open_tools_item(h, window, 5)
    # It says which view it wrote and waits for Google Earth's next fetch;
    # the offer comes over that first box, which is closed after it.
    h.display.wait_window("Information", 5)
    answer_box(h, "Confirm", "y", "Put them into Snapshots Width and Height?",
               shot="measure-offered")
    answer_box(h, "Information", "Return", "Tembrel has written a view")
    fetch = last_view_fetch(standin)
    width, height = snapshot_km(box_for(*fetch.camera))
    image = h.shot("measured")
    # The box travels with six decimals: the last of three may differ by one.
    for control, wanted, what in (("E_VEast", width, "Snapshots Width"),
                                  ("E_VSouth", height, "Snapshots Height")):
        seen = window.edit_text(image, control)
        expect(abs(float(seen.replace(",", ".")) - wanted) < 0.0015,
               f"{what} reads '{seen}'; the stand-in's geometry gives {wanted:.4f} km")
    expect_equal(fetch.camera[2], 250.0, "the range the stand-in measured at")


def last_view_fetch(standin):
    """The stand-in's last fetch that read a view."""
    fetches = [f for f in standin.samples() if f.view]
    expect(fetches, "the stand-in read no view")
    return fetches[-1]


STANDIN_CASES = {
    "standin_file_link": standin_file_link,
    "live_following": live_following,
    "live_period_mismatch": live_period_mismatch,
    "live_fly_to_view_off": live_fly_to_view_off,
    "live_earth_closed": live_earth_closed,
    "live_link_without_camera": live_link_without_camera,
    "live_missed_centres_reflown": live_missed_centres_reflown,
    "live_measure_snapshot": live_measure_snapshot,
}

"""Tembrel's main window seen from outside: where its controls lie and what
their pixels say."""

from dataclasses import dataclass

from x11_session import Failure

CLIENT_WIDTH = 470
CLIENT_HEIGHT = 465
TITLE = r"Tembrel 5\.0"


@dataclass(frozen=True)
class Rect:
    x: int
    y: int
    width: int
    height: int

    def centre(self):
        return self.x + self.width // 2, self.y + self.height // 2

    def moved(self, dx, dy):
        return Rect(self.x + dx, self.y + dy, self.width, self.height)


# Origins in the client area of the three parents that hold controls. The tab
# widget puts its pages' panels 6, 29 from the client's corner with the
# window's font (the tab bar above them); the snapshot group and the button
# panel lie where the layout puts them.
PAGE = (6, 29)
SNAPSHOTS = (9, 189)
BUTTONS = (0, 329)


def _on(origin, x, y, width, height):
    return Rect(x, y, width, height).moved(*origin)


# The controls' places in the client area, from the layout.
CONTROLS = {
    "E_LatD": _on(PAGE, 9, 31, 159, 21),
    "E_LonD": _on(PAGE, 173, 31, 159, 21),
    "E_VE": _on(PAGE, 10, 80, 74, 21),
    "E_VS": _on(PAGE, 173, 80, 74, 21),
    "SG_Areas": _on(PAGE, 10, 38, 435, 104),
    "M_Points": _on(PAGE, 9, 39, 435, 102),
    "E_VEast": _on(SNAPSHOTS, 9, 40, 118, 21),
    "E_VSouth": _on(SNAPSHOTS, 237, 40, 118, 21),
    "E_VA": _on(SNAPSHOTS, 9, 96, 118, 21),
    "E_VR": _on(SNAPSHOTS, 237, 96, 118, 21),
    "B_Start": _on(BUTTONS, 31, 17, 130, 52),
    "B_Pause": _on(BUTTONS, 169, 17, 130, 52),
    "B_Stop": _on(BUTTONS, 308, 18, 130, 52),
    # The label sizes itself to its caption; this is room for the longest one.
    "LB_MAreas": _on(BUTTONS, 177, 84, 200, 15),
    "GA_Progress": _on(BUTTONS, 16, 102, 437, 20),
}

# The eight edits in the order the settings keep them.
EDITS = ("E_LatD", "E_LonD", "E_VE", "E_VS", "E_VEast", "E_VSouth", "E_VA", "E_VR")

# The tabs' captions are drawn in the window's font, so the tab bar is the one
# place not given by the layout: the centres of "Area", "Multiple Areas" and
# "Scattered Points" as the tab widget draws them.
TABS = {"area": (27, 17), "areas": (98, 17), "points": (198, 17)}

# Likewise the menu bar's first title, "File": its centre from the left edge.
FILE_MENU = 18

GRID_CELL_WIDTH = 100
GRID_CELL_HEIGHT = 19

NAVY = (0, 0, 128)
WHITE = (255, 255, 255)


def is_green(pixel):
    r, g, b = pixel
    return g > 100 and g > r + 50 and g > b + 50


def is_dark(pixel):
    return sum(pixel) < 200


class MainWindow:
    """Clicks, keys and looks at the main window of one running program."""

    def __init__(self, display, window):
        self.display = display
        self.window = window
        x, y, width, height = display.geometry(window)
        if width != CLIENT_WIDTH or height <= CLIENT_HEIGHT:
            raise Failure(f"the main window is {width} x {height}; expected {CLIENT_WIDTH} "
                          f"wide and {CLIENT_HEIGHT} high below its menu bar")
        self.menu_height = height - CLIENT_HEIGHT
        # The client area's corner on the screen.
        self.x = x
        self.y = y + self.menu_height
        self.top = y

    def rect(self, control):
        return CONTROLS[control].moved(self.x, self.y)

    def click(self, control):
        self.display.click(*self.rect(control).centre())

    def click_at(self, client_x, client_y):
        self.display.click(self.x + client_x, self.y + client_y)

    def type_into(self, control, text):
        """Replaces an edit's text the way a person does: click, select all, type."""
        self.click(control)
        self.display.key("ctrl+a")
        if text:
            self.display.type(text)
        else:
            self.display.key("BackSpace")

    def fill(self, texts):
        for control, text in texts.items():
            self.type_into(control, text)

    def select_tab(self, tab):
        self.click_at(*TABS[tab])

    def grid_cell(self, column, row):
        grid = self.rect("SG_Areas")
        return Rect(grid.x + 1 + column * GRID_CELL_WIDTH, grid.y + 1 + row * GRID_CELL_HEIGHT,
                    GRID_CELL_WIDTH - 1, GRID_CELL_HEIGHT - 1)

    def type_into_cell(self, column, row, text):
        self.display.click(*self.grid_cell(column, row).centre())
        self.display.key("F2", "ctrl+a")
        self.display.type(text)
        self.display.key("Return")

    def type_memo(self, text):
        self.click("M_Points")
        self.display.key("ctrl+a", "BackSpace")
        for number, line in enumerate(text.split("\n")):
            if number > 0:
                self.display.key("Return")
            self.display.type(line)

    def open_menu_item(self, menu, item_index):
        """Picks the item_index-th command (separators not counted) of "File",
        the menu bar's first menu, or "Help", its last: a click on "File",
        then Left to go round to "Help", whose menu then opens with its first
        command chosen, and the arrow keys."""
        self.display.click(self.x + FILE_MENU, self.top + self.menu_height // 2)
        if menu == "Help":
            self.display.key("Left", *(["Down"] * item_index), "Return")
        elif menu == "File":
            self.display.key(*(["Down"] * (item_index + 1)), "Return")
        else:
            raise Failure(f"no way to the menu {menu}")

    def close_box(self):
        """Clicks the close box the window manager draws at the frame's top right."""
        left, right, top, bottom = self.display.frame_extents(self.window)
        x, y, width, _ = self.display.geometry(self.window)
        self.display.click(x + width + right - 10, y - top // 2)

    # ---------------------------------------------------------------- looks

    def start_button_shown(self, image):
        # The button's picture is the only green on the button panel.
        r = self.rect("B_Start")
        return image.count(is_green, r.x, r.y, r.width, r.height) > 50

    def edit_background(self, image, control):
        # Texts are left-aligned; the right end of an edit shows its background.
        r = self.rect(control)
        return image.pixel(r.x + r.width - 6, r.y + r.height // 2)

    def gauge_fill(self, image):
        """How many pixels of the gauge's inner width the navy bar covers."""
        r = self.rect("GA_Progress")
        y = r.y + 3  # above the percentage text
        filled = 0
        while filled < r.width - 2 and image.pixel(r.x + 1 + filled, y) == NAVY:
            filled += 1
        return filled

    def gauge_inner_width(self):
        return CONTROLS["GA_Progress"].width - 2

    def gauge_text(self, image, on_bar):
        r = self.rect("GA_Progress")
        return self.display.ocr(image, r.x + 1, r.y + 1, r.width - 2, r.height - 2, invert=on_bar)

    def area_label_shown(self, image):
        r = self.rect("LB_MAreas")
        return image.count(is_dark, r.x, r.y, r.width, r.height) > 20

    def area_label_text(self, image):
        r = self.rect("LB_MAreas")
        return self.display.ocr(image, r.x, r.y - 1, r.width, r.height + 2)

    def edit_text(self, image, control):
        r = self.rect(control)
        return self.display.ocr(image, r.x + 3, r.y + 3, r.width - 6, r.height - 6)

    def edit_has_focus(self, image, control):
        # The focused edit's frame is drawn in the highlight colour.
        r = self.rect(control)
        top = image.pixel(r.x + r.width // 2, r.y)
        return top[2] > top[0] + 60

    def region(self, image, control):
        r = self.rect(control)
        return image.crop(r.x, r.y, r.width, r.height)

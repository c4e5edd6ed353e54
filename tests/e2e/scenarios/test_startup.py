"""Start-up end to end: the window as laid out with its caption and tray tip, the hand
pointer over the buttons (and the arrow without the cursor file), and a start straight
into the tray when both startup choices are stored "On"."""
import json

from harness.scenario import INSTALL_DIR, START_TIMEOUT
from scenarios.screen import cursor_file_hot_spot, pixel, pointer_picture

CONTROLS = ["Start Autodrag", "Startup Options", "Load this software on Windows startup", "Status",
            "Auto-drag is off.", "Help"]
MINIMIZED = "Minimized to system tray"
SETTINGS_KEY = "HKCU\\Software\\Kestrova\\Vornatic"
RUN_KEY = "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Run"
RUN_COMMAND = f'"{INSTALL_DIR}\\Vornatic.exe"'


def start_installed(s):
    """Starts the program already copied into Program Files, as it is there."""
    s.note("start Vornatic.exe as installed")
    s.prefix.start([f"{INSTALL_DIR}\\{s.exe.name}"], output=s.artefacts / "vornatic-output.txt",
                   cwd=s.prefix.unix_path(INSTALL_DIR))
    s.wait_until(s.desktop.find_desktop_origin, "the Wine desktop window", START_TIMEOUT)


def background_point(window):
    """A point of the window's own background: left of the controls, between the top
    button and the first frame."""
    left, top, _, _ = window.client
    start = window.child("Start Autodrag").rect
    frame = window.child("Startup Options").rect
    return (left + 3, (start[3] + frame[1]) // 2)


def wait_for_pointer(s, predicate, what):
    seen = []

    def check():
        picture = pointer_picture(s.xvfb.name)
        if not seen or seen[-1] != picture:
            seen.append(picture)
            s.note(f"pointer picture {picture.width}x{picture.height}, hot spot ({picture.hot_x}, {picture.hot_y})")
        return picture if predicate(picture) else None
    return s.wait_until(check, what)


def visible_tooltips(s):
    result = s.prefix.run([s.probe_exe, "inspect", "--all", "--class", "tooltips_class32"], timeout=30)
    windows = json.loads(result.stdout).get("windows", []) if result.stdout.strip() else []
    return [w for w in windows if w["visible"]]


def error_boxes(s):
    return [w for w in s.probe.inspect_all("Application Error") if w.visible]


def test_the_window_opens_as_laid_out_with_its_caption_and_tray_tip(s):
    window = s.start_vornatic()
    assert window.title == "Vornatic"
    for text in CONTROLS:
        assert window.shows(text), f"\"{text}\" does not show: {window.texts()}"
    assert not window.shows(MINIMIZED), "the minimised box shows while the program is not set to start"
    # The layout's text box lies below the client area, out of sight.
    text_box = next(c for c in window.children if c.cls.upper() == "EDIT")
    assert text_box.rect[1] >= window.client[3], f"the text box shows: {text_box.rect} in {window.client}"
    assert pixel(s, *background_point(window)) == "#FFFFFF", "the plain window is not white"
    s.screenshot("window-at-start", region=window.rect)

    # The tray icon's tip: hover the icon until Wine shows a one-line tip over it.
    centre = s.wait_until(s.probe.tray_icon_centre, "the tray icon")
    s.desktop.move(centre[0] - 4, centre[1] - 4)
    s.desktop.move(*centre)

    def tip():
        return next((w for w in visible_tooltips(s) if w["window"][3] - w["window"][1] < 40), None)
    left, top, right, bottom = s.wait_until(tip, "a one-line tip over the tray icon")["window"]
    s.screenshot("tray-tip", region=(left - 20, top - 10, max(right, centre[0] + 12) + 10, centre[1] + 12))
    assert not error_boxes(s)


def test_the_pointer_is_the_hand_over_the_buttons_and_the_arrow_elsewhere(s):
    window = s.start_vornatic()
    hand = cursor_file_hot_spot(s.prefix.unix_path(f"{INSTALL_DIR}\\HAND-M.CUR"))

    # Outside our window the desktop shows the arrow; remember its picture.
    s.desktop.move(window.rect[0] - 40, window.rect[3] + 40)
    # (While Wine swaps pictures, X briefly shows an empty 1x1 one.)
    arrow = wait_for_pointer(s, lambda p: p.width > 1 and (p.width, p.height, p.hot_x, p.hot_y) != hand,
                             "the arrow over the desktop")

    for caption in ("Start Autodrag", "Help"):
        # A hand arrives in steps; after a single jump Wine now and then keeps the old
        # picture until the pointer moves again.
        x, y = window.child(caption).centre
        s.desktop.glide((x - 12, y), (x, y), steps=3, step_seconds=0.03)
        wait_for_pointer(s, lambda p: (p.width, p.height, p.hot_x, p.hot_y) == hand,
                         f"the hand over \"{caption}\"")
        s.desktop.move(*background_point(window))
        wait_for_pointer(s, lambda p: p == arrow, "the arrow over the window's background")
    s.desktop.move(*window.child("Status").centre)
    wait_for_pointer(s, lambda p: p == arrow, "the arrow over a frame")
    assert not error_boxes(s)


def test_without_the_cursor_file_the_buttons_show_the_arrow_and_nothing_is_said(s):
    installed = s.install_vornatic()
    (installed.parent / "HAND-M.CUR").unlink()
    start_installed(s)
    window = s.wait_for_main_window(lambda w: w.visible and w.shows("Start Autodrag"), "Vornatic's window",
                                    START_TIMEOUT)
    s.desktop.move(window.rect[0] - 40, window.rect[3] + 40)
    arrow = wait_for_pointer(s, lambda p: p.width > 1, "the arrow over the desktop")
    s.desktop.move(*window.child("Start Autodrag").centre)
    s.desktop.move(*window.child("Help").centre)
    # Give the window every chance to show another picture: wait until it has handled the
    # moves (the probe sees the pointer there), then look.
    s.wait_until(lambda: abs(s.probe.pointer()["y"] - window.child("Help").centre[1]) <= 1, "the pointer on Help")
    shown = wait_for_pointer(s, lambda p: p.width > 1, "the pointer picture over Help")
    assert shown == arrow, "no cursor file, yet a picture other than the arrow"
    assert not error_boxes(s), "a missing cursor file was reported"
    s.screenshot("no-cursor-file", region=window.rect)


def test_both_choices_stored_on_start_straight_in_the_tray(s):
    for name in ("Windows Startup", "Minimized"):
        s.prefix.run(["reg", "add", SETTINGS_KEY, "/v", name, "/t", "REG_SZ", "/d", "On", "/f"], check=True)
    # The entry an earlier run made: without it "On" would no longer be true, and the box clear.
    s.prefix.run(["reg", "add", RUN_KEY, "/v", "Vornatic.exe", "/t", "REG_SZ", "/d", RUN_COMMAND, "/f"], check=True)
    s.install_vornatic()
    start_installed(s)
    s.wait_until(s.probe.tray_icon_centre, "the tray icon", START_TIMEOUT)
    window = s.wait_until(s.main_window, "Vornatic's window to exist")
    assert not window.visible, "the window showed although the stored choice is a minimised start"
    s.screenshot("started-in-tray")
    # Restoring the boxes wrote nothing: the run-at-logon value is as it was.
    assert RUN_COMMAND in s.prefix.run(["reg", "query", RUN_KEY, "/v", "Vornatic.exe"], check=True).stdout

    s.desktop.click_at(*s.probe.tray_icon_centre())
    window = s.wait_for_main_window(lambda w: w.visible, "the window back from the tray")
    # The minimised-start box shows only while the run-at-logon box is ticked.
    assert window.shows(MINIMIZED), f"the stored choices were not restored: {window.texts()}"
    s.screenshot("restored-from-tray", region=window.rect)
    assert not error_boxes(s)

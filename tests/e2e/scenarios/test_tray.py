"""The tray end to end: minimising takes the window off the screen and out of the taskbar
into the tray (with a balloon the first time), a click on the icon brings it back, a drag
still works after that trip, and closing the window in the middle of a drag lets go of
the button and takes the icon away."""
import json
import subprocess
import time
from collections import Counter

from scenarios.test_autodrag import drag_in_probe, start_autodrag, wait_for_autodrag_off

# Wine shows a balloon about 2 s after it is asked for and would keep it 10 s; the
# program takes it down itself when its 5 s wait runs out (Wine never reports it closed).
BALLOON_APPEARS_WITHIN = 6
BALLOON_TAKEN_DOWN_BY = 9  # from the minimise click: 5 s wait plus slack, well short of Wine's 12


def probe_json(s, *args):
    """The probe's JSON answer; {} when it found nothing."""
    result = s.prefix.run([s.probe_exe, *args], timeout=30)
    return json.loads(result.stdout) if result.stdout.strip() else {}


def main_window_handle(s):
    return int(probe_json(s, "inspect", "Vornatic")["hwnd"], 16)


def taskbar_button_shown(s, window_handle):
    """Wine's taskbar gives every top-level window a button whose control id is the window's handle."""
    taskbar = probe_json(s, "inspect", "--class", "Shell_TrayWnd")
    return any(c["id"] == window_handle and c["visible"] for c in taskbar.get("children", []))


def balloon(s):
    """The balloon's rectangle while one shows. A balloon is a tooltip window several lines
    high; a plain tip over the icon is one line, so it is not taken for one."""
    for window in probe_json(s, "inspect", "--all", "--class", "tooltips_class32").get("windows", []):
        left, top, right, bottom = window["window"]
        if window["visible"] and bottom - top > 40:
            return (left, top, right, bottom)
    return None


def colours(s, region):
    path = s.artefacts / "pixels.png"
    s.desktop.screenshot(path, region)
    text = subprocess.run(["convert", str(path), "txt:-"], capture_output=True, text=True, check=True,
                          timeout=60).stdout
    return Counter(line.split()[2] for line in text.splitlines()[1:] if len(line.split()) > 2)


def icon_in_slot(s, centre):
    """True when the tray slot around `centre` shows a picture: enough of its pixels differ
    from the bare taskbar a little to the left."""
    x, y = centre
    bare = colours(s, (x - 80, y - 5, x - 60, y + 5)).most_common(1)[0][0]
    slot = colours(s, (x - 8, y - 8, x + 8, y + 8))
    return sum(n for colour, n in slot.items() if colour != bare) >= 20


def slot_left_of(s, slot):
    """Centre of the tray slot left of `slot`: slots are as wide as the taskbar is high."""
    left, top, right, bottom = probe_json(s, "inspect", "--class", "Shell_TrayWnd")["window"]
    return (slot[0] - (bottom - top), slot[1])


def minimise(s, window):
    """Clicks the minimise box of the window's title bar. At 96 DPI Wine draws it 47 px left
    of the frame's right edge, 11 px below its top, left of the greyed maximise box."""
    left, top, right, bottom = window.rect
    s.note("click the minimise box")
    s.desktop.click_at(right - 47, top + 11)


def vornatic_process(s):
    return next(p for p in s.prefix.processes if any("Vornatic.exe" in str(a) for a in p.args))


def test_minimise_goes_to_the_tray_with_one_balloon_and_a_click_brings_it_back(s):
    window = s.start_vornatic()
    handle = main_window_handle(s)
    assert taskbar_button_shown(s, handle), "the window has no taskbar button to begin with"
    tray = s.wait_until(s.probe.tray_icon_centre, "the taskbar with Vornatic's tray icon")
    s.wait_until(lambda: icon_in_slot(s, tray), "Vornatic's icon in the tray")

    minimised_at = time.monotonic()
    minimise(s, window)
    s.wait_for_main_window(lambda w: not w.visible, "the window to leave the screen")
    s.wait_until(lambda: not taskbar_button_shown(s, handle), "the window's taskbar button to go")
    assert icon_in_slot(s, tray), "the tray icon went with the window"
    shown = s.wait_until(lambda: balloon(s), "the balloon", timeout=BALLOON_APPEARS_WITHIN)
    left, top, right, bottom = shown
    s.screenshot("balloon", region=(left - 10, top - 10, 1024, 768))
    s.screenshot("tray-with-window-hidden", region=(tray[0] - 200, tray[1] - 12, 1024, 768))
    s.wait_until(lambda: not balloon(s), "the balloon to be taken down", timeout=15)
    gone_after = time.monotonic() - minimised_at
    assert gone_after < BALLOON_TAKEN_DOWN_BY, \
        f"the balloon stayed {gone_after:.1f} s: the program did not take it down after its wait"

    s.desktop.click_at(*tray)
    back = s.wait_for_main_window(lambda w: w.visible, "the window back from the tray")
    assert not back.minimized, "the window came back minimised"
    assert back.rect == window.rect, f"the window came back at {back.rect}, not {window.rect}"
    s.wait_until(lambda: taskbar_button_shown(s, handle), "the taskbar button back")
    s.screenshot("restored", region=back.rect)

    # The second time in the run: into the tray again, but no balloon. Wine would show one
    # within about 2 s of the request, so a few seconds without one is the answer.
    minimise(s, back)
    s.wait_for_main_window(lambda w: not w.visible, "the window to leave the screen again")
    s.wait_until(lambda: not taskbar_button_shown(s, handle), "the taskbar button to go again")
    watch_until = time.monotonic() + 4
    while time.monotonic() < watch_until:
        assert not balloon(s), "a balloon at the second minimise of the run"
        time.sleep(0.3)

    # Nothing is left waiting: the icon answers at once.
    s.desktop.click_at(*tray)
    again = s.wait_for_main_window(lambda w: w.visible, "the window back the second time", timeout=5)
    assert not again.minimized and again.shows("Start Autodrag"), again


def test_a_drag_after_a_trip_through_the_tray_still_works(s):
    log, client = s.start_probe_window()
    window = s.start_vornatic()
    tray = s.wait_until(s.probe.tray_icon_centre, "the tray")
    minimise(s, window)
    s.wait_for_main_window(lambda w: not w.visible, "the window in the tray")
    s.desktop.click_at(*tray)
    s.wait_for_main_window(lambda w: w.visible and not w.minimized, "the window back from the tray")

    # Start from the window: it goes to the tray again (no balloon now), one whole drag
    # happens in the probe, and the window comes back.
    drag_in_probe(s, log, client, pick=(60, 50), drop=(300, 200))
    window = wait_for_autodrag_off(s)
    assert window.visible and not window.minimized
    assert icon_in_slot(s, tray), "the tray icon is gone after the drag"


def test_closing_during_a_held_drag_puts_it_back_and_takes_the_icon_away(s):
    # Wine hides its taskbar once the last tray icon goes, so a second icon, the probe's,
    # keeps it up: two icons in the two right-most slots until Vornatic's is taken away.
    callbacks = s.artefacts / "probe-tray.txt"
    s.probe.start_tray_icon(callbacks, s.artefacts / "probe-tray-output.txt")
    s.wait_until(lambda: callbacks.exists() and "ready" in callbacks.read_text(), "the probe's tray icon")
    log, (left, top, _, _) = s.start_probe_window()
    s.start_vornatic()
    tray = s.wait_until(s.probe.tray_icon_centre, "the tray")
    second_slot = slot_left_of(s, tray)
    s.wait_until(lambda: icon_in_slot(s, tray) and icon_in_slot(s, second_slot), "two icons in the tray")
    start_autodrag(s)

    pick = (left + 120, top + 90)
    s.desktop.move(*pick)
    time.sleep(0.15)
    s.desktop.click()
    s.wait_until(lambda: s.probe.pointer()["left"], "the left button held for the person")
    pressed = [e for e in log.buttons() if e.msg == "WM_LBUTTONDOWN"][-1]
    hand = (pick[0] + 90, pick[1] + 70)
    s.desktop.move(*hand)
    s.wait_until(lambda: (s.probe.pointer()["x"], s.probe.pointer()["y"]) == hand, "the pointer carried away")
    s.screenshot("tray-during-the-drag", region=(tray[0] - 200, tray[1] - 12, 1024, 768))

    s.note("close Vornatic with taskkill (WM_CLOSE), as at logoff")
    s.prefix.run(["taskkill", "/im", "Vornatic.exe"], timeout=60)
    process = vornatic_process(s)
    s.wait_until(lambda: process.poll() is not None, "the Vornatic process to end")
    assert s.main_window() is None, "a Vornatic window outlived the process"

    s.wait_until(lambda: not s.probe.pointer()["left"], "the left button to be up")
    releases = [e for e in log.buttons(pressed.t) if e.msg == "WM_LBUTTONUP"]
    assert releases, f"the probe saw no release after the held press: {log.lines()[-10:]}"
    # Closing gives up: the item goes back to the pick-up, never onto what lies under the
    # pointer, and the pointer comes back to the hand.
    assert (releases[0].x, releases[0].y) == (pick[0] - left, pick[1] - top), f"released at {releases[0]}"
    s.wait_until(lambda: (s.probe.pointer()["x"], s.probe.pointer()["y"]) == hand, "the pointer back at the hand")
    s.wait_until(lambda: s.probe.tray_icon_centre() == tray and not icon_in_slot(s, second_slot),
                 "one icon, the probe's, left in the tray")
    assert icon_in_slot(s, tray), "the probe's own icon went too"
    s.screenshot("tray-after-close", region=(tray[0] - 200, tray[1] - 12, 1024, 768))

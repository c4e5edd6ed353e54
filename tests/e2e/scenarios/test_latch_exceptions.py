"""Programs where the latch stays out, end to end: Wine's notepad added to the list in the
Settings window as a user does it (Add program..., the running programs' menu, Enter on
notepad.exe, OK), then a press held still in notepad stays an ordinary press while one in
the probe's window latches."""
import time

from scenarios.test_autodrag import notepad
from scenarios.test_latch import badge_visible, store
from scenarios.test_settings import MENU_CLASS, choose_settings_from_the_tray, click_child, dialog, \
    press_held_still_latches, stored

ADD = "Add &program..."


def menu(s):
    found = s.probe.inspect_class(MENU_CLASS)
    return found if found and found.visible else None


def add_first_from_the_menu(s):
    """Add program..., then the program chosen from its menu with the keyboard."""
    settings = dialog(s)
    click_child(s, settings, ADD)
    shown = s.wait_until(lambda: menu(s), "the menu of running programs")
    s.screenshot("programs-menu", region=(shown.rect[0] - 10, shown.rect[1] - 10, shown.rect[2] + 10,
                                           shown.rect[3] + 10))
    # The menu lists the programs by file name in order, ourselves left out: here
    # notepad.exe, then probe.exe. Down takes the first, Enter chooses it.
    s.desktop.key("Down")
    s.desktop.key("Return")
    s.wait_until(lambda: not menu(s), "the menu closed on its choice")


def held_still(s, at, seconds):
    s.desktop.move(*at)
    time.sleep(0.3)
    s.desktop.press()
    time.sleep(seconds / 2)
    badge_halfway = badge_visible(s)
    time.sleep(seconds / 2)
    s.desktop.release()
    time.sleep(0.5)
    return badge_halfway


def test_a_press_held_still_in_an_excepted_program_stays_a_press(s):
    store(s, "Latch", "600")
    log, client = s.start_probe_window(geometry=(520, 20, 980, 360))
    pad = notepad(s)
    s.start_vornatic()

    settings, _ = choose_settings_from_the_tray(s)
    add_first_from_the_menu(s)
    s.screenshot("settings-with-notepad", region=dialog(s).rect)
    click_child(s, dialog(s), "OK")
    s.wait_until(lambda: not dialog(s), "the Settings window closed")
    listed = stored(s, "LatchExceptions")
    s.note(f"LatchExceptions: {listed!r}")
    assert listed and "notepad.exe" in listed.lower(), f"notepad is not in the list: {listed!r}"

    # Held still 1.2 s (twice the hold time) in notepad's text: an ordinary press.
    left, top, right, bottom = pad.rect
    inside_notepad = ((left + right) // 2, (top + bottom) // 2)
    badge_halfway = held_still(s, inside_notepad, 1.2)
    assert not badge_halfway, "the badge filled in notepad"
    assert not s.probe.pointer()["left"], "the press in notepad was held after its release"
    assert not badge_visible(s)

    # In the probe's window the same press latches, and the next click drops it.
    # Right of notepad, which covers the probe window's left part.
    press_held_still_latches(s, log, client, (300, 100), 1, "left")
    assert not s.probe.pointer()["left"], "a button was left down"
    del settings

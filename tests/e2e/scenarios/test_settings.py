"""The Settings window and the tray menu end to end, with the mouse and the keyboard:
the menu opens on a right click, "Settings..." opens the dialog, the latch, its hold time,
the middle button and a shortcut pressed in the box take effect at OK without a restart,
Cancel leaves everything as it was, "Latch" turns the latch off and "Exit" ends the
program with its icon gone."""
import time

from harness.clock import now_ms
from harness.desktop import RIGHT
from scenarios.test_latch import HOLD_MS, SETTINGS_KEY, badge_visible, button_messages, store
from scenarios.test_tray import icon_in_slot, slot_left_of, vornatic_process

TITLE = "Vornatic Settings"
MENU_CLASS = "#32768"
MIDDLE = 2


def stored(s, name):
    """The text of a value under Vornatic's settings, or None when there is none."""
    result = s.prefix.run(["reg", "query", SETTINGS_KEY, "/v", name], timeout=30)
    for line in result.stdout.splitlines():
        parts = line.split(None, 2)
        if len(parts) == 3 and parts[0] == name:
            return parts[2].strip()
    return None


def dialog(s):
    found = s.probe.inspect(TITLE)
    return found if found and found.visible else None


def open_tray_menu(s, icon=None):
    """A right click on the K icon (the only one in the tray unless given); returns the
    menu's rectangle once it shows."""
    icon = icon or s.wait_until(s.probe.tray_icon_centre, "the tray icon")
    s.desktop.click_at(*icon, button=RIGHT)
    menu = s.wait_until(lambda: (lambda m: m if m and m.visible else None)(s.probe.inspect_class(MENU_CLASS)),
                        "the tray menu")
    return menu.rect


def click_child(s, window, text):
    control = window.child(text)
    assert control and control.visible, f'no "{text}" in {window.title}: {window.texts()}'
    s.note(f'click "{text}" at {control.centre}')
    s.desktop.click_at(*control.centre)


def choose_settings_from_the_tray(s):
    """Right click, "Settings..." by its mnemonic; returns the dialog and the milliseconds
    from the key to the dialog shown."""
    menu = open_tray_menu(s)
    s.screenshot("tray-menu", region=(menu[0] - 10, menu[1] - 10, menu[2] + 10, menu[3] + 10))
    asked = now_ms()
    s.desktop.key("e")
    shown = s.wait_until(lambda: dialog(s), "the Settings window")
    return shown, now_ms() - asked


def press_held_still_latches(s, log, client, at, button, name):
    """A press held still 0.7 s at the point in the probe stays held after its release;
    the next click drops it there."""
    left, top = client[0], client[1]
    since = log.events()[-1].t
    s.desktop.move(left + at[0], top + at[1])
    time.sleep(0.3)
    s.desktop.press(button)
    time.sleep(0.7)
    s.desktop.release(button)
    time.sleep(0.6)
    presses = button_messages(log, since, "DOWN")
    releases = button_messages(log, since, "UP")
    assert presses and not releases, f"{name} press held 0.7 s did not latch: {presses} {releases}"
    s.desktop.click(button)
    s.wait_until(lambda: button_messages(log, since, "UP"), f"the {name} drop")
    s.wait_until(lambda: not badge_visible(s), "the badge gone at the drop")


def test_settings_from_the_tray_menu_take_effect_at_once(s):
    log, client = s.start_probe_window(geometry=(20, 20, 500, 360))
    launched = now_ms()
    window = s.start_vornatic()
    s.note(f"main window shown {now_ms() - launched:.0f} ms after the start")

    settings, took = choose_settings_from_the_tray(s)
    s.note(f'"Settings..." to the Settings window shown: {took:.0f} ms')
    s.screenshot("settings", region=settings.rect)
    assert settings.focused(), "nothing in the Settings window has the focus"

    # The latch on, 600 ms on the slider from the keyboard, the middle button, and the
    # shortcut pressed in its box.
    click_child(s, settings, "&Latch a press held still")
    slider = s.wait_until(lambda: (lambda d: d and next((c for c in d.children if c.cls == "msctls_trackbar32"
                                                         and c.enabled), None))(dialog(s)), "the slider enabled")
    s.desktop.click_at(*slider.centre)
    s.desktop.key("Home")
    for _ in range((600 - 200) // 100):
        s.desktop.key("Right")
    s.wait_until(lambda: (lambda d: d and d.shows("600 ms"))(dialog(s)), 'the slider at "600 ms"')
    click_child(s, dialog(s), "&Middle")
    field = next(c for c in dialog(s).children if c.cls == "Edit")
    s.desktop.click_at(*field.centre)
    s.desktop.key("ctrl+alt+d")
    s.wait_until(lambda: (lambda d: d and d.shows("Ctrl+Alt+D"))(dialog(s)), 'the box reading "Ctrl+Alt+D"')
    s.screenshot("settings-changed", region=dialog(s).rect)
    click_child(s, dialog(s), "OK")
    s.wait_until(lambda: not dialog(s), "the Settings window closed")
    assert stored(s, "Latch") == "600" and stored(s, "LatchMiddle") == "On" and stored(s, "Hotkey") == "Ctrl+Alt+D"

    # At once, with no restart: a press held still 0.7 s latches.
    press_held_still_latches(s, log, client, (120, 100), 1, "left")

    # Ctrl+Alt+D starts auto-drag and stops it; Win+Shift+D no longer does.
    s.desktop.key("ctrl+alt+d")
    s.wait_for_main_window(lambda w: not w.visible, "the window in the tray, sent there by Ctrl+Alt+D")
    s.desktop.key("ctrl+alt+d")
    s.wait_for_main_window(lambda w: w.visible and w.shows("Start Autodrag"), "auto-drag off again by Ctrl+Alt+D")
    s.desktop.key("super+shift+d")
    time.sleep(1.5)
    assert s.main_window().visible and s.main_window().shows("Start Autodrag"), "Win+Shift+D still starts auto-drag"
    del window


def test_the_middle_button_latches_once_chosen(s):
    store(s, "Latch", "600")
    store(s, "LatchMiddle", "On")
    log, client = s.start_probe_window(geometry=(20, 20, 500, 360))
    s.start_vornatic()
    press_held_still_latches(s, log, client, (150, 120), MIDDLE, "middle")


def test_cancel_changes_nothing_and_the_menu_turns_the_latch_off_and_exits(s):
    store(s, "Latch", str(HOLD_MS))
    # Wine hides its taskbar once the last icon goes: the probe's icon keeps it up.
    callbacks = s.artefacts / "probe-tray.txt"
    s.probe.start_tray_icon(callbacks, s.artefacts / "probe-tray-output.txt")
    s.wait_until(lambda: callbacks.exists() and "ready" in callbacks.read_text(), "the probe's tray icon")
    s.start_vornatic()
    tray = s.wait_until(s.probe.tray_icon_centre, "the tray")
    # Wine puts each newer icon left of the older ones: the K is in the second slot.
    k_icon = slot_left_of(s, tray)
    s.wait_until(lambda: icon_in_slot(s, k_icon), "the K icon beside the probe's")

    # From the main window with the keyboard: Alt+S opens Settings; changes, then Escape.
    s.desktop.key("alt+s")
    settings = s.wait_until(lambda: dialog(s), "the Settings window from Alt+S")
    click_child(s, settings, "&Latch a press held still")
    s.desktop.key("alt+d")  # the label's mnemonic takes the focus to the shortcut box
    s.desktop.key("ctrl+alt+k")
    s.wait_until(lambda: (lambda d: d and d.shows("Ctrl+Alt+K"))(dialog(s)), 'the box reading "Ctrl+Alt+K"')
    s.desktop.key("Escape")
    s.wait_until(lambda: not dialog(s), "the Settings window gone on Escape")
    assert stored(s, "Latch") == str(HOLD_MS) and stored(s, "Hotkey") is None, "Cancel changed the settings"
    s.desktop.key("super+shift+d")
    s.wait_for_main_window(lambda w: not w.visible, "Win+Shift+D still starting auto-drag")
    s.desktop.key("super+shift+d")
    s.wait_for_main_window(lambda w: w.visible, "Win+Shift+D stopping it")

    # "Latch" in the menu turns it off at once; "Exit" closes as the close box does.
    open_tray_menu(s, k_icon)
    s.desktop.key("l")
    s.wait_until(lambda: stored(s, "Latch") == "Off", 'the latch stored "Off"')
    open_tray_menu(s, k_icon)
    s.desktop.key("x")
    process = vornatic_process(s)
    s.wait_until(lambda: process.poll() is not None, "the Vornatic process to end")
    assert s.main_window() is None, "a Vornatic window outlived Exit"
    s.wait_until(lambda: not icon_in_slot(s, k_icon), "Vornatic's icon gone from the tray")
    assert icon_in_slot(s, tray), "the probe's own icon went too"


def test_the_shortcut_pressed_in_its_box_goes_into_it(s):
    """While the shortcut box has the keyboard focus, Win+Shift+D, the shortcut in effect,
    is chosen again in the box instead of starting auto-drag."""
    s.start_vornatic()
    settings, _ = choose_settings_from_the_tray(s)
    field = next(c for c in settings.children if c.cls == "Edit")
    s.desktop.click_at(*field.centre)
    s.desktop.key("ctrl+alt+k")
    s.wait_until(lambda: (lambda d: d and d.shows("Ctrl+Alt+K"))(dialog(s)), 'the box reading "Ctrl+Alt+K"')
    s.desktop.key("super+shift+d")
    s.wait_until(lambda: (lambda d: d and d.shows("Win+Shift+D"))(dialog(s)), 'the box reading "Win+Shift+D" again')
    time.sleep(1.0)
    assert s.main_window().shows("Start Autodrag"), "the shortcut started auto-drag from inside its box"
    s.screenshot("shortcut-box", region=dialog(s).rect)

"""Choices an administrator sets, end to end: a latch set by policy wins over the user's own
"Off", shows in the Settings window as it is, greyed, with "Set by your organisation"
beside it, and when the policy value goes while Vornatic runs, the user's own choice holds
again without a restart."""
from scenarios.test_latch import button_messages, press_and_release, store
from scenarios.test_settings import choose_settings_from_the_tray, click_child, dialog, press_held_still_latches

POLICY_KEY = "HKLM\\Software\\Policies\\Kestrova\\Vornatic"
SET_BY_ORGANISATION = "Set by your organisation"
LATCH_BOX = "&Latch a press held still"


def shows_decided(settings):
    return any(c.text == SET_BY_ORGANISATION and c.visible for c in settings.children)


def test_a_policy_latch_wins_and_going_gives_the_user_their_choice_back(s):
    store(s, "Latch", "Off")
    s.prefix.run(["reg", "add", POLICY_KEY, "/v", "Latch", "/t", "REG_SZ", "/d", "600", "/f"], check=True)
    log, client = s.start_probe_window(geometry=(20, 20, 500, 360))
    s.start_vornatic()

    press_held_still_latches(s, log, client, (120, 100), 1, "left")

    settings, _ = choose_settings_from_the_tray(s)
    s.screenshot("settings-set-by-policy", region=settings.rect)
    latch = settings.child(LATCH_BOX)
    assert latch and not latch.enabled, f"the latch box is not greyed: {latch}"
    assert settings.shows("600 ms"), f"the hold time is not 600 ms: {settings.texts()}"
    assert shows_decided(settings), f'no "{SET_BY_ORGANISATION}": {settings.texts()}'
    click_child(s, settings, "Cancel")
    s.wait_until(lambda: not dialog(s), "the Settings window closed")

    # Group Policy takes the value away while Vornatic runs.
    s.prefix.run(["reg", "delete", POLICY_KEY, "/v", "Latch", "/f"], check=True)
    settings, _ = choose_settings_from_the_tray(s)
    settings = s.wait_until(lambda: (lambda d: d if d and d.child(LATCH_BOX).enabled else None)(dialog(s)),
                            "the latch box the user's again")
    s.screenshot("settings-policy-gone", region=settings.rect)
    assert not shows_decided(settings), f'"{SET_BY_ORGANISATION}" still shown: {settings.texts()}'
    click_child(s, settings, "Cancel")
    s.wait_until(lambda: not dialog(s), "the Settings window closed")

    # The user's own "Off": a press held still is an ordinary press again.
    since = press_and_release(s, log, client, (200, 150), held_seconds=0.9)
    assert button_messages(log, since, "BUTTON") == [("WM_LBUTTONDOWN", 200, 150), ("WM_LBUTTONUP", 200, 150)]
    assert not s.probe.pointer()["left"], "the left button is left down"


def overlaps(a, b):
    return a[0] < b[2] and b[0] < a[2] and a[1] < b[3] and b[1] < a[3]


def test_every_choice_set_by_policy_in_german_is_greyed_and_said_beside_it(s):
    from scenarios.test_language import TEXT, start_in

    for name, value in (("Latch", "600"), ("LatchRight", "On"), ("LatchMiddle", "Off"), ("Hotkey", "Ctrl+Alt+K"),
                        ("Indicator", "Off")):
        s.prefix.run(["reg", "add", POLICY_KEY.replace("HKLM", "HKCU"), "/v", name, "/t", "REG_SZ", "/d", value, "/f"],
                     check=True)
    start_in(s, "de")
    s.click_button(TEXT("de", "OpenSettings"))
    title = TEXT("de", "SettingsTitle")
    settings = s.wait_until(lambda: (lambda d: d if d and d.visible else None)(s.probe.inspect(title)), title)
    s.screenshot("settings-set-by-policy-de", region=settings.rect)
    said = TEXT("de", "PolicySetByOrganisation")
    notes = [c for c in settings.children if c.text == said and c.visible]
    assert len(notes) == 4, f'"{said}" {len(notes)} times: {settings.texts()}'
    frames = {TEXT("de", f"Settings{name}Frame") for name in ("Latch", "Shortcut", "Badge")}
    boxes = [c for c in settings.children if c.cls == "Button" and c.visible and c.text not in frames | {""}]
    for note in notes:
        assert all(not overlaps(note.rect, box.rect) for box in boxes), f"{note} covers one of {boxes}"
    greyed = [c.text for c in settings.children if c.cls in ("Button", "Edit", "msctls_trackbar32") and not c.enabled]
    s.note(f"greyed: {greyed}")
    for caption in ("SettingsLatchOn", "SettingsRight", "SettingsMiddle", "SettingsBadgeOn", "SettingsNoShortcut"):
        assert TEXT("de", caption) in greyed, f"{TEXT('de', caption)} is not greyed: {greyed}"
    assert settings.shows("600 ms"), settings.texts()

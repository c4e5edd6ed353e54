"""The Help button end to end: one message naming the contact page; closing it leaves
everything as it was."""
from scenarios.test_startup import error_boxes

MESSAGE = "Questions? Please contact Team Kestrova at https://www.kestrova.example/contact/"


def message_boxes(s):
    return [w for w in s.probe.inspect_all("Vornatic") if w.cls == "#32770" and w.visible]


def test_help_shows_the_contact_message_and_closing_it_changes_nothing(s):
    before = s.start_vornatic()
    s.click_button("Help")
    box = s.wait_until(lambda: (message_boxes(s) or [None])[0], "the Help message box")
    s.screenshot("help", region=box.rect)
    assert MESSAGE in box.texts(), f"the box says {box.texts()}"
    buttons = [c for c in box.children if c.cls.upper() == "BUTTON" and c.visible]
    assert [b.text for b in buttons] == ["OK"], f"not a box with one OK button: {buttons}"

    s.desktop.click_at(*box.child("OK").centre)
    s.wait_until(lambda: not message_boxes(s), "the Help message box to close")
    after = s.wait_for_main_window(lambda w: w.visible, "Vornatic's window")
    assert after.texts() == before.texts()
    assert [c.visible for c in after.children] == [c.visible for c in before.children]
    assert after.rect == before.rect
    assert s.probe.tray_icon_centre() is not None
    assert not error_boxes(s)
    assert len([w for w in s.probe.inspect_all("Vornatic") if w.visible]) == 1, "another window of ours is open"
    s.screenshot("after-help", region=after.rect)

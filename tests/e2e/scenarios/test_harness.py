"""Controls for the harness itself, without Vornatic: a plain click reaches the probe at
once, and the tray slot the harness computes is where an icon really is. When these
pass and a Vornatic scenario fails, the fault is not in the harness."""


def test_plain_click_reaches_the_probe_at_once(s):
    log, (left, top, _, _) = s.start_probe_window()
    point = (left + 100, top + 80)
    s.desktop.move(*point)
    s.wait_until(lambda: (p := s.probe.pointer()) and (p["x"], p["y"]) == point, "the pointer at the probe")
    s.desktop.click()
    down, up = s.wait_until(lambda: len(b := log.buttons()) >= 2 and b[:2], "the click in the probe's log")
    assert (down.msg, up.msg) == ("WM_LBUTTONDOWN", "WM_LBUTTONUP"), log.lines()
    assert (down.x, down.y) == (100, 80), f"click landed at client {(down.x, down.y)}, not (100, 80)"
    # Without the program, nothing holds the release back.
    assert up.t - down.t < 300, f"release came {up.t - down.t:.0f} ms after the press"
    assert not s.probe.pointer()["left"], "the left button still reads as down"


def test_tray_click_reaches_the_newest_icon(s):
    callbacks = s.artefacts / "tray-callbacks.txt"
    s.probe.start_tray_icon(callbacks, s.artefacts / "tray-output.txt")
    s.wait_until(lambda: callbacks.exists() and "ready" in callbacks.read_text(), "the probe's tray icon")
    s.wait_until(s.desktop.find_desktop_origin, "the Wine desktop window")
    centre = s.wait_until(s.probe.tray_icon_centre, "the taskbar")
    s.desktop.click_at(*centre)
    # 513 and 514: the icon saw the press and the release of the click.
    s.wait_until(lambda: "callback=514" in callbacks.read_text(), "the icon's button-up callback")
    assert "callback=513" in callbacks.read_text()

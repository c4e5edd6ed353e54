"""The program among the rest of the session, end to end: a second start brings the running
copy's window back from the tray and ends without a second icon (a start at logon shows
nothing), and the tray icon comes back when Explorer makes its taskbar anew."""
import time

from harness.processes import processes_named
from harness.scenario import INSTALL_DIR
from scenarios.test_tray import icon_in_slot, minimise, probe_json, slot_left_of

CONTROL_SITE_CLASS = "Vornatic.ControlSite"
TRAY_ICON_ID = "0"


def vornatic_pids(s):
    return sorted(processes_named("Vornatic.exe", s.prefix.path))


def start_again(s, *args):
    s.note(f"start Vornatic.exe again {' '.join(args)}".rstrip())
    return s.prefix.start([f"{INSTALL_DIR}\\Vornatic.exe", *args],
                          output=s.artefacts / "vornatic-again-output.txt",
                          cwd=s.prefix.unix_path(INSTALL_DIR))


def into_the_tray(s, window):
    minimise(s, window)
    s.wait_for_main_window(lambda w: not w.visible, "the window in the tray")


def test_a_second_start_brings_the_window_back_from_the_tray_and_leaves_one_copy(s):
    window = s.start_vornatic()
    tray = s.wait_until(s.probe.tray_icon_centre, "the tray")
    s.wait_until(lambda: icon_in_slot(s, tray), "Vornatic's icon in the tray")
    first = s.wait_until(lambda: vornatic_pids(s), "the Vornatic process")
    assert len(first) == 1, f"Vornatic.exe processes before the second start: {first}"
    into_the_tray(s, window)

    started = time.monotonic()
    second = start_again(s)
    back = s.wait_for_main_window(lambda w: w.visible, "the first copy's window back from the tray")
    back_after = time.monotonic() - started
    assert not back.minimized, "the window came back minimised"
    assert back.shows("Start Autodrag"), back
    s.wait_until(lambda: second.poll() is not None, "the second copy to end")
    ended_after = time.monotonic() - started
    s.note(f"window back {back_after:.2f} s after the second start; the second copy ended after {ended_after:.2f} s")
    assert vornatic_pids(s) == first, f"Vornatic.exe processes after the second start: {vornatic_pids(s)}"
    assert icon_in_slot(s, tray) and not icon_in_slot(s, slot_left_of(s, tray)), "a second icon in the tray"
    s.screenshot("back-after-second-start", region=back.rect)

    # The start at logon finds the program running and shows nothing.
    into_the_tray(s, back)
    logon = start_again(s, "/logon")
    s.wait_until(lambda: logon.poll() is not None, "the logon start to end")
    assert not s.main_window().visible, "the logon start brought the window out of the tray"
    assert vornatic_pids(s) == first, f"Vornatic.exe processes after the logon start: {vornatic_pids(s)}"


def test_the_tray_icon_comes_back_when_the_taskbar_is_made_anew_and_a_click_on_it_works(s):
    window = s.start_vornatic()
    tray = s.wait_until(s.probe.tray_icon_centre, "the tray")
    s.wait_until(lambda: icon_in_slot(s, tray), "Vornatic's icon in the tray")
    site = next(c["hwnd"] for c in probe_json(s, "inspect", "Vornatic")["children"]
                if c["class"] == CONTROL_SITE_CLASS)
    into_the_tray(s, window)

    # Explorer restarts: its new taskbar has none of the old icons (Wine then hides it, with
    # no icon left to show), and it tells every window it is back.
    s.note("the probe takes the icon away, as a new taskbar knows none of the old ones")
    s.prefix.run([s.probe_exe, "forget-icon", site, TRAY_ICON_ID], check=True)
    s.wait_until(lambda: s.probe.tray_icon_centre() is None, "the taskbar to go with its last icon")
    broadcast_at = time.monotonic()
    s.prefix.run([s.probe_exe, "broadcast", "TaskbarCreated"], check=True)
    s.wait_until(lambda: s.probe.tray_icon_centre() == tray and icon_in_slot(s, tray), "Vornatic's icon back")
    s.note(f"icon back {time.monotonic() - broadcast_at:.2f} s after the broadcast")
    s.screenshot("icon-back", region=(tray[0] - 200, tray[1] - 12, 1024, 768))

    s.desktop.click_at(*tray)
    back = s.wait_for_main_window(lambda w: w.visible, "the window back from the tray by the new icon")
    assert not back.minimized and back.shows("Start Autodrag"), back

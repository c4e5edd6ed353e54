"""Auto-drag end to end: the real program, a person's clicks through xdotool, and the
probe window's log of what Windows delivered to it."""
import time

from harness.desktop import RIGHT

ON = "Auto-drag is on."
OFF = "Auto-drag is off."
START = "Start Autodrag"
STOP = "Stop Autodrag"
HOLD_MS = 500  # how long the program holds back each counted release


def start_autodrag(s):
    """Clicks Start and waits until the window is in the tray and the hook is in: the
    status line reads "on" one statement before the hook goes in, so a short pause after
    it leaves the hook time to be there (the first Start waits out the balloon first)."""
    s.click_button(START)
    s.wait_for_main_window(lambda w: not w.visible, "the window to go to the tray")
    s.wait_for_main_window(lambda w: w.child(ON) is not None, f'"{ON}"', timeout=20)
    time.sleep(0.3)


def wait_for_autodrag_off(s):
    return s.wait_for_main_window(lambda w: w.visible and w.shows(START) and w.shows(OFF),
                                  f'the window back with "{START}" and "{OFF}"', timeout=20)


def next_button(events, after):
    """The first button message in `events` later than index `after`: (index, event)."""
    for index in range(after + 1, len(events)):
        if "BUTTON" in events[index].msg:
            return index, events[index]
    raise AssertionError(f"no button message after {events[after]}")


def drag_in_probe(s, log, client, pick, drop, start=None):
    """One whole drag inside the probe window by a hasty hand: the pointer sets off at
    once after each click. Checked from the probe's log: the pick-up and the drop land
    exactly where the clicks were."""
    left, top = client[0], client[1]
    since = log.events()[-1].t
    (start or start_autodrag)(s)

    s.desktop.move(left + pick[0], top + pick[1])
    time.sleep(0.15)
    picked_at = s.desktop.click()
    path = s.desktop.glide((left + pick[0], top + pick[1]), (left + drop[0], top + drop[1]), steps=12,
                           step_seconds=0.05)
    s.note(f"pick-up release sent by {picked_at:.3f} ms, then at once along {path}")
    time.sleep(0.3)
    dropped_at = s.desktop.click()
    s.desktop.move(left + drop[0] + 40, top + drop[1] + 16)  # and away again at once
    wait_for_autodrag_off(s)
    s.wait_until(lambda: not s.probe.pointer()["left"], "the left button to be up again")

    events = [e for e in log.events() if e.t > since]
    double_clicks = [e for e in log.events() if "DBLCLK" in e.msg]
    assert not double_clicks, f"a double-click arrived: {double_clicks}"

    # The person's press at the pick-up point, and its release held back.
    i, press = next_button(events, -1)
    assert (press.msg, press.x, press.y) == ("WM_LBUTTONDOWN", *pick), f"pick-up press: {press}"
    i, release = next_button(events, i)
    assert (release.msg, release.x, release.y) == ("WM_LBUTTONUP", *pick), f"pick-up release: {release}"
    held = release.t - press.t
    assert held >= HOLD_MS, f"the pick-up release came {held:.0f} ms after its press, not >= {HOLD_MS}"

    # Exactly one press follows, the program's, where the person clicked.
    i, pickup = next_button(events, i)
    assert (pickup.msg, pickup.x, pickup.y) == ("WM_LBUTTONDOWN", *pick), f"injected press: {pickup}"

    # Every move between it and the drop carries the held button; nothing of the drop
    # click's press arrives; one release, at the drop point, and nothing after it.
    j, drop_release = next_button(events, i)
    moves = [e for e in events[i + 1:j] if e.msg == "WM_MOUSEMOVE"]
    # The moves held back come out in one burst, which the window's queue merges (as
    # Windows does with fast input), and Wine drops one to where its cursor already is;
    # those that arrive are the hand's own, in order.
    on_path = [(x - left, y - top) for x, y in path]
    assert len({(m.x, m.y) for m in moves}) >= 2, f"too few moves reached the probe: {moves}"
    assert all(m.left_held for m in moves), f"a move arrived without the left button: {moves}"
    indices = [on_path.index((m.x, m.y)) if (m.x, m.y) in on_path else -1 for m in moves]
    assert -1 not in indices and indices == sorted(indices), f"moves off the hand's path {on_path}: {moves}"
    assert (drop_release.msg, drop_release.x, drop_release.y) == ("WM_LBUTTONUP", *drop), \
        f"the drop: {drop_release}"
    rest = [e for e in events[j + 1:] if "BUTTON" in e.msg]
    assert not rest, f"button messages after the drop: {rest}"

    if s.clocks_agree:
        first_move = moves[0].t
        s.note(f"pointer paused {first_move - picked_at:.0f} ms after the pick-up release; "
               f"the drop reached the probe {drop_release.t - dropped_at:.0f} ms after its release was sent")
    return events


def test_two_drags_in_one_run(s):
    log, client = s.start_probe_window()
    window = s.start_vornatic()
    s.screenshot("main-window", region=window.rect)

    drag_in_probe(s, log, client, pick=(60, 50), drop=(300, 200))
    s.screenshot("after-first-drag")
    # The second Start of the run has no balloon to wait for; the drag is the same.
    drag_in_probe(s, log, client, pick=(320, 60), drop=(80, 210))
    window = wait_for_autodrag_off(s)
    assert window.visible and not window.minimized


def test_stop_after_restoring_from_the_tray(s):
    s.start_vornatic()
    start_autodrag(s)
    tray = s.wait_until(s.probe.tray_icon_centre, "Vornatic's tray icon")
    s.screenshot("tray", region=(tray[0] - 100, tray[1] - 20, tray[0] + 10, tray[1] + 10))

    # Clicking the icon brings the window back; that click is also the pick-up, so the
    # program then holds the button for the person.
    s.desktop.click_at(*tray)
    s.wait_for_main_window(lambda w: w.visible and w.shows(STOP), f'the window back with "{STOP}"')
    s.wait_until(lambda: s.probe.pointer()["left"], "the button the program holds after the tray click")

    s.click_button(STOP)
    wait_for_autodrag_off(s)
    s.wait_until(lambda: not s.probe.pointer()["left"], "the left button to be up again")

    # Auto-drag has really ended: a further click elsewhere is just a click.
    s.desktop.click_at(700, 600)
    time.sleep(1.5)
    assert not s.probe.pointer()["left"], "a click after Stop left the button held"
    window = s.main_window()
    assert window.visible and window.shows(START) and window.shows(OFF), window

    # A right-click brings the window back without picking anything up; the Stop click's
    # own release then counts, and the stop must still leave the button up.
    start_autodrag(s)
    s.desktop.click_at(*tray, button=RIGHT)
    s.wait_for_main_window(lambda w: w.visible and w.shows(STOP), f'the window back with "{STOP}"')
    assert not s.probe.pointer()["left"], "a right-click picked up"
    s.click_button(STOP)
    wait_for_autodrag_off(s)
    time.sleep(HOLD_MS / 1000 + 0.5)
    assert not s.probe.pointer()["left"], "Stop left the left button down"


def test_text_is_selected_in_a_real_edit_control_by_one_hasty_drag(s):
    """Wine's notepad takes a second press during a drag as "start a new selection here",
    so one drag must reach it as a press, moves and one release."""
    text = "The quick brown fox jumps over the lazy dog\r\nA second line\r\n"
    document = s.prefix.unix_path("C:\\users\\Public\\drag.txt")
    document.parent.mkdir(parents=True, exist_ok=True)
    document.write_bytes(text.encode("ascii"))
    s.prefix.start(["notepad", "C:\\users\\Public\\drag.txt"], output=s.artefacts / "notepad-output.txt")
    # Asking inside the prefix while its desktop is still being made can stall the asker.
    s.wait_until(s.desktop.find_desktop_origin, "the Wine desktop window", 60)
    first, last = 4, 19  # "quick brown fox"
    edit = s.wait_until(lambda: (lambda e: e if e.get("found") else None)(s.probe.edit_control("Notepad", first, last)),
                        "notepad with the text", timeout=30)
    (x1, y1), (x2, y2) = edit["points"]
    y = y1 + edit["line_height"] // 2

    s.start_vornatic()
    start_autodrag(s)
    s.desktop.move(x1 + 1, y)
    time.sleep(0.15)
    s.desktop.click()
    s.desktop.glide((x1 + 1, y), (x2 + 1, y), steps=6, step_seconds=0.03)
    time.sleep(0.3)
    s.desktop.click()
    s.desktop.move(x2 + 60, y + 30)
    wait_for_autodrag_off(s)
    s.wait_until(lambda: not s.probe.pointer()["left"], "the left button to be up again")
    selection = s.probe.edit_control("Notepad")["selection"]
    s.screenshot("selection")
    assert selection == [first, last], f"selected {selection}, expected {[first, last]}: {text[first:last]!r}"

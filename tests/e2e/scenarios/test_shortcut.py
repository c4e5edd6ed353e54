"""The start/stop shortcut and the holding badge, end to end: Win+Shift+D from anywhere,
and a badge beside the pointer exactly while the program holds the button."""
import time

from scenarios.test_autodrag import OFF, START, drag_in_probe, wait_for_autodrag_off

SHORTCUT = "super+shift+d"
BADGE_CLASS = "Vornatic.HoldingBadge"


def badge(s):
    return s.probe.inspect_class(BADGE_CLASS)


def start_with_the_shortcut(s):
    s.desktop.key(SHORTCUT)
    s.wait_for_main_window(lambda w: not w.visible, "the window in the tray, sent there by the shortcut")


def test_the_shortcut_starts_and_stops_auto_drag_and_a_badge_shows_while_the_button_is_held(s):
    log, client = s.start_probe_window(geometry=(20, 20, 600, 400))
    s.start_vornatic()

    # Start from the keyboard; one whole drag lands in the probe as it does from the button.
    drag_in_probe(s, log, client, pick=(60, 60), drop=(300, 200), start=start_with_the_shortcut)
    window = wait_for_autodrag_off(s)
    assert window.visible

    # A second Start from the keyboard; pick up, and look at the badge while holding.
    start_with_the_shortcut(s)
    left, top = client[0], client[1]
    s.desktop.move(left + 100, top + 100)
    time.sleep(0.15)
    s.desktop.click()
    # The person's own press is the held button from the pick-up release on.
    s.wait_until(lambda: s.probe.pointer()["left"], "the button held for the person after the pick-up click")
    since = log.events()[-1].t
    path = s.desktop.glide((left + 100, top + 100), (left + 400, top + 300), steps=10, step_seconds=0.05)
    s.wait_until(lambda: (lambda b: b and b.visible)(badge(s)), "the holding badge")
    shown = badge(s)
    pointer = s.probe.pointer()
    bx = shown.rect[0] - pointer["x"]
    by = shown.rect[1] - pointer["y"]
    assert 0 < bx <= 40 and 0 < by <= 40, f"the badge at {shown.rect} is not just below right of {pointer}"
    s.screenshot("badge-light", region=(pointer["x"] - 30, pointer["y"] - 30, pointer["x"] + 60, pointer["y"] + 60))
    # Every move of the hand reached the probe, with the button held.
    moves = [(e.x + left, e.y + top) for e in log.events() if e.t > since and e.msg == "WM_MOUSEMOVE" and e.left_held]
    missing = [p for p in path if p not in moves]
    assert not missing, f"moves that never reached the probe: {missing}"

    # Over the dark desktop too, then the shortcut stops auto-drag: the button is let go.
    s.desktop.move(800, 600)
    s.wait_until(lambda: (lambda b: b and b.visible and b.rect[0] > 800)(badge(s)), "the badge over the desktop")
    s.screenshot("badge-dark", region=(770, 570, 860, 660))
    s.desktop.key(SHORTCUT)
    wait_for_autodrag_off(s)
    s.wait_until(lambda: not s.probe.pointer()["left"], "the left button up after the shortcut stopped auto-drag")
    s.wait_until(lambda: not (lambda b: b and b.visible)(badge(s)), "the badge gone")


def test_the_badge_goes_at_the_drop(s):
    log, client = s.start_probe_window()
    s.start_vornatic()
    drag_in_probe(s, log, client, pick=(60, 50), drop=(300, 200))
    gone = badge(s)
    assert not (gone and gone.visible), f"the badge stayed after the drop: {gone}"
    # Waited for, as every scenario waits: one look at the window can come back empty while
    # Wine is busy, which said nothing about Vornatic.
    s.wait_for_main_window(lambda w: w.shows(START) and w.shows(OFF), "the window back, off, after the drop")

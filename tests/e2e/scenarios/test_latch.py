"""The latch end to end: with a hold time in the settings and no Start, a press held still
becomes a hold that the next click drops; a short press stays an ordinary click."""
import time

from harness.desktop import LEFT, RIGHT
from scenarios.test_shortcut import badge

SETTINGS_KEY = "HKCU\\Software\\Kestrova\\Vornatic"
HOLD_MS = 800


def store(s, name, value):
    s.prefix.run(["reg", "add", SETTINGS_KEY, "/v", name, "/t", "REG_SZ", "/d", value, "/f"], check=True)


def badge_visible(s):
    shown = badge(s)
    return shown if shown and shown.visible else None


def button_messages(log, since, kind):
    return [(e.msg, e.x, e.y) for e in log.events() if e.t > since and kind in e.msg]


def press_and_release(s, log, client, at, held_seconds):
    """A left press at the point in the probe, held still that long and released; returns
    the probe's time before it, once the probe has seen both."""
    since = log.events()[-1].t
    s.desktop.move(client[0] + at[0], client[1] + at[1])
    time.sleep(0.3)
    s.desktop.press()
    time.sleep(held_seconds)
    s.desktop.release()
    s.wait_until(lambda: len(button_messages(log, since, "BUTTON")) >= 2, "the press and its release in the probe")
    return since


def latch_in_probe(s, log, client, pick, drop, button=LEFT):
    """A press held a second at pick, released there, the hand moving to drop and a click
    there; checked from the probe's log: one press, moves with the button held, one
    release at the drop."""
    left, top = client[0], client[1]
    kind, held, name = ("LBUTTON", "left", "left") if button == LEFT else ("RBUTTON", "right", "right")
    since = log.events()[-1].t
    start, end = (left + pick[0], top + pick[1]), (left + drop[0], top + drop[1])
    s.desktop.move(*start)
    time.sleep(0.3)
    s.desktop.press(button)
    # The badge fills from half the hold time and is the holding badge at the latch.
    latched = s.wait_until(lambda: badge_visible(s), "the badge while the press is held still", timeout=5)
    time.sleep(max(0.0, 1.0 - HOLD_MS / 2000))
    s.desktop.release(button)
    time.sleep(0.3)
    assert s.probe.pointer()[held], f"the {name} button is not held after the latched release"
    path = s.desktop.glide(start, end, steps=8, step_seconds=0.05)
    shown = s.wait_until(lambda: (lambda b: b if b and b.rect[0] > end[0] else None)(badge_visible(s)),
                         "the badge following the pointer")
    pointer = s.probe.pointer()
    bx, by = shown.rect[0] - pointer["x"], shown.rect[1] - pointer["y"]
    assert 0 < bx <= 40 and 0 < by <= 40, f"the badge at {shown.rect} is not just below right of {pointer}"
    s.screenshot(f"latched-{name}", region=(pointer["x"] - 30, pointer["y"] - 30, pointer["x"] + 60, pointer["y"] + 60))
    time.sleep(0.6)  # beyond the double-click time of the latched release: a drop, not a bounce
    s.desktop.click(button)
    s.wait_until(lambda: not s.probe.pointer()[held], f"the {name} button up after the drop")
    s.wait_until(lambda: not badge_visible(s), "the badge gone at the drop")

    buttons = button_messages(log, since, "BUTTON")
    assert buttons == [(f"WM_{kind}DOWN", *pick), (f"WM_{kind}UP", *drop)], f"{name} latch: {buttons}"
    events = [e for e in log.events() if e.t > since]
    press = next(i for i, e in enumerate(events) if "BUTTON" in e.msg)
    release = max(i for i, e in enumerate(events) if "BUTTON" in e.msg)
    moves = [e for e in events[press + 1:release] if e.msg == "WM_MOUSEMOVE"]
    assert moves, f"{name} latch: no move reached the probe with the button held"
    assert all(getattr(m, f"{held}_held") for m in moves), f"a move arrived without the {name} button: {moves}"
    on_path = [(x - left, y - top) for x, y in path]
    assert all((m.x, m.y) in on_path or (m.x, m.y) == pick for m in moves), f"moves off the hand's path: {moves}"
    del latched


def test_a_short_press_is_a_click_and_a_press_held_still_latches_until_the_next_click(s):
    store(s, "Latch", str(HOLD_MS))
    log, client = s.start_probe_window(geometry=(20, 20, 600, 400))
    s.start_vornatic()
    since = press_and_release(s, log, client, (40, 40), held_seconds=0.2)
    time.sleep(HOLD_MS / 1000 + 0.2)
    assert button_messages(log, since, "BUTTON") == [("WM_LBUTTONDOWN", 40, 40), ("WM_LBUTTONUP", 40, 40)]
    assert not s.probe.pointer()["left"], "a short press was held"
    assert not badge_visible(s), "a short press showed the badge"

    latch_in_probe(s, log, client, pick=(100, 100), drop=(400, 250))
    window = s.main_window()
    assert window.visible and window.shows("Start Autodrag"), "the latch started auto-drag"


def test_a_right_press_held_still_latches_with_latch_right(s):
    store(s, "Latch", str(HOLD_MS))
    store(s, "LatchRight", "On")
    log, client = s.start_probe_window(geometry=(20, 20, 600, 400))
    s.start_vornatic()
    latch_in_probe(s, log, client, pick=(120, 90), drop=(420, 260), button=RIGHT)
    # And the left button latches beside it.
    latch_in_probe(s, log, client, pick=(80, 200), drop=(300, 60))

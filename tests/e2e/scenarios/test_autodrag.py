"""Auto-drag end to end: the real program, a person's clicks through xdotool, and the
probe window's log of what Windows delivered to it."""
import time
from dataclasses import dataclass

from harness import hook_timings
from harness.clock import now_ms


ON = "Auto-drag is on."
OFF = "Auto-drag is off."
START = "Start Autodrag"
STOP = "Stop Autodrag"
SHORTCUT = "super+shift+d"


@dataclass
class Pace:
    """How a hand drags: how long it holds each click, how it moves, how soon it drops."""
    name: str
    hold: float          # seconds each button stays down
    steps: int
    step_seconds: float
    before_drop: float   # seconds from the last move to the drop press


CAREFUL = Pace("careful", 0.12, 8, 0.08, 0.4)
HASTY = Pace("hasty", 0.05, 12, 0.02, 0.05)
QUICK = Pace("a tenth of a second", 0.02, 3, 0.005, 0.0)
SLOW = Pace("slow", 0.2, 10, 0.4, 1.0)


def start_autodrag(s):
    """Clicks Start and waits until the window has gone to the tray: the hook is in
    before the window leaves, so the next click already picks up."""
    s.click_button(START)
    s.wait_for_main_window(lambda w: not w.visible, "the window to go to the tray")


def wait_for_autodrag_off(s):
    return s.wait_for_main_window(lambda w: w.visible and w.shows(START) and w.shows(OFF),
                                  f'the window back with "{START}" and "{OFF}"', timeout=20)


def hand_click(s, hold):
    """A press held `hold` seconds; returns when the release was sent (now_ms)."""
    s.desktop.press()
    time.sleep(hold)
    return s.desktop.release()


def drag(s, start, end, pace):
    """Picks up at start, moves to end at the pace's speed and drops there. Returns
    (points moved through, ms when the first move was sent, ms the drop's release was sent)."""
    s.desktop.move(*start)
    time.sleep(0.15)
    hand_click(s, pace.hold)
    moving_from = now_ms()
    path = s.desktop.glide(start, end, steps=pace.steps, step_seconds=pace.step_seconds)
    time.sleep(pace.before_drop)
    dropped_at = hand_click(s, pace.hold)
    s.desktop.move(end[0] + 40, end[1] + 16)  # and away again at once
    return path, moving_from, dropped_at


def moves_fault(moves, on_path):
    """What is wrong with the moves a window saw between the press and the drop, or "".
    We never touch moves any more: they are the hand's own, each with the button held. Wine
    makes some of its own around fast ones (a point a pixel beside the path, the last
    point again), so a move counts as on the path within 2 px, and the last one must be
    where the hand stopped."""
    if not moves:
        return "no move reached the window with the button held"
    if not all(m.left_held for m in moves):
        return f"a move arrived without the left button: {moves}"
    near = lambda m: any(abs(m.x - x) <= 2 and abs(m.y - y) <= 2 for x, y in on_path)  # noqa: E731
    if not all(near(m) for m in moves):
        return f"moves off the hand's path {on_path}: {moves}"
    if (moves[-1].x, moves[-1].y) != on_path[-1]:
        return f"the last move is not where the hand stopped, {on_path[-1]}: {moves}"
    return ""


def drag_in_probe(s, log, client, pick, drop, pace=HASTY, start=None):
    """One whole drag inside the probe window, checked from the probe's log: exactly the
    hand's press at the pick-up point, its moves with the button held, and one release at
    the drop point; nothing else. Returns the pause (ms) from the hand's first move to the
    first move the probe saw with the button held, when the clocks agree."""
    left, top = client[0], client[1]
    since = log.events()[-1].t
    (start or start_autodrag)(s)
    path, moving_from, dropped_at = drag(s, (left + pick[0], top + pick[1]), (left + drop[0], top + drop[1]), pace)
    wait_for_autodrag_off(s)
    s.wait_until(lambda: not s.probe.pointer()["left"], "the left button to be up again")

    events = [e for e in log.events() if e.t > since]
    buttons = [(e.msg, e.x, e.y) for e in events if "BUTTON" in e.msg]
    assert buttons == [("WM_LBUTTONDOWN", *pick), ("WM_LBUTTONUP", *drop)], f"{pace.name} drag: {buttons}"
    press = next(i for i, e in enumerate(events) if "BUTTON" in e.msg)
    release = max(i for i, e in enumerate(events) if "BUTTON" in e.msg)
    moves = [e for e in events[press + 1:release] if e.msg == "WM_MOUSEMOVE"]
    # The window's queue merges fast moves, as Windows does; those that arrive are the hand's.
    fault = moves_fault(moves, [(x - left, y - top) for x, y in path])
    assert not fault, f"{pace.name} drag: {fault}"

    pause = None
    if s.clocks_agree:
        pause = moves[0].t - moving_from
        s.note(f"{pace.name} drag: the first held move reached the probe {pause:.0f} ms after the hand set off; "
               f"the drop {events[release].t - dropped_at:.0f} ms after its release was sent")
    return pause


def test_drags_of_every_pace_the_first_right_after_the_first_start(s):
    log, client = s.start_probe_window()
    timings = s.artefacts / "hook-answers.txt"
    with hook_timings.recorded(timings):
        window = s.start_vornatic()
    s.screenshot("main-window", region=window.rect)
    starts = []

    def start_and_wait_three_tenths(s):
        clicked = s.click_button(START)
        starts.append(clicked)
        s.wait_for_main_window(lambda w: not w.visible, "the window to go to the tray")
        time.sleep(max(0.0, 0.3 - (now_ms() - clicked) / 1000))

    # The first Start of a run shows its balloon; the drag 0.3 s later must not wait for it.
    pauses = [drag_in_probe(s, log, client, (60, 50), (300, 200), CAREFUL, start=start_and_wait_three_tenths)]
    s.screenshot("after-first-drag")
    pauses.append(drag_in_probe(s, log, client, (320, 60), (80, 210), HASTY, start=start_and_wait_three_tenths))
    pauses.append(drag_in_probe(s, log, client, (100, 150), (250, 90), QUICK, start=start_and_wait_three_tenths))
    s.note(f"pauses from the hand's first move to the first held move: {pauses} ms")
    installed = hook_timings.installed_times(timings)
    if s.clocks_agree and len(installed) == len(starts):
        s.note("from the Start click's release to the hook in: "
               f"{[round(hook - click) for hook, click in zip(installed, starts)]} ms (the first is the run's first)")
    window = wait_for_autodrag_off(s)
    assert window.visible and not window.minimized


def test_a_tray_click_while_waiting_brings_the_window_back_and_stop_ends_it(s):
    s.start_vornatic()
    start_autodrag(s)
    tray = s.wait_until(s.probe.tray_icon_centre, "Vornatic's tray icon")
    s.screenshot("tray", region=(tray[0] - 100, tray[1] - 20, tray[0] + 10, tray[1] + 10))

    # A click on our own icon brings the window back and picks nothing up.
    s.desktop.click_at(*tray)
    s.wait_for_main_window(lambda w: w.visible and w.shows(STOP), f'the window back with "{STOP}"')
    time.sleep(0.5)
    assert not s.probe.pointer()["left"], "the tray click picked up"

    # A click on Stop is a click on our own window: it stops, and picks nothing up either.
    s.click_button(STOP)
    wait_for_autodrag_off(s)
    s.desktop.click_at(700, 600)
    time.sleep(0.5)
    assert not s.probe.pointer()["left"], "a click after Stop left the button held"


def notepad(s, text="The quick brown fox jumps over the lazy dog\r\nA second line\r\n"):
    document = s.prefix.unix_path("C:\\users\\Public\\drag.txt")
    document.parent.mkdir(parents=True, exist_ok=True)
    document.write_bytes(text.encode("ascii"))
    s.prefix.start(["notepad", "C:\\users\\Public\\drag.txt"], output=s.artefacts / "notepad-output.txt")
    # Asking inside the prefix while its desktop is still being made can stall the asker.
    s.wait_until(s.desktop.find_desktop_origin, "the Wine desktop window", 60)
    return s.wait_until(lambda: s.probe.inspect_class("Notepad"), "notepad", timeout=30)


def test_notepad_moves_by_its_caption_quick_and_slow_and_giving_up_puts_it_back(s):
    window = notepad(s)
    s.start_vornatic()
    for pace in (QUICK, SLOW):
        before = s.probe.inspect_class("Notepad").rect
        grip = (before[0] + 60, before[1] + 10)
        start_autodrag(s)
        drag(s, grip, (grip[0] + 80, grip[1] + 50), pace)
        wait_for_autodrag_off(s)
        s.wait_until(lambda: not s.probe.pointer()["left"], "the left button to be up again")
        after = s.probe.inspect_class("Notepad").rect
        assert (after[0] - before[0], after[1] - before[1]) == (80, 50), f"{pace.name}: notepad {before} -> {after}"

    # Giving up by the shortcut while holding: notepad goes back where it was picked up,
    # the pointer stays with the hand, the button is up.
    before = s.probe.inspect_class("Notepad").rect
    grip = (before[0] + 60, before[1] + 10)
    start_autodrag(s)
    s.desktop.move(*grip)
    time.sleep(0.15)
    hand_click(s, 0.1)
    s.desktop.glide(grip, (grip[0] + 120, grip[1] + 90), steps=6, step_seconds=0.05)
    s.wait_until(lambda: s.probe.inspect_class("Notepad").rect[0] > before[0], "notepad following the hand")
    s.screenshot("holding-notepad")
    s.desktop.key(SHORTCUT)
    wait_for_autodrag_off(s)
    s.wait_until(lambda: not s.probe.pointer()["left"], "the left button to be up again")
    after = s.probe.inspect_class("Notepad").rect
    assert after[:2] == before[:2], f"given up: notepad {before} -> {after}"
    pointer = s.probe.pointer()
    assert (pointer["x"], pointer["y"]) == (grip[0] + 120, grip[1] + 90), f"the pointer did not come back: {pointer}"
    del window


def test_text_is_selected_in_notepad_by_one_quick_and_one_slow_drag(s):
    """Wine's notepad takes a second press during a drag as "start a new selection here",
    so each drag must reach it as a press, moves and one release."""
    text = "The quick brown fox jumps over the lazy dog\r\nA second line\r\n"
    notepad(s, text)
    s.start_vornatic()
    for pace, (first, last) in ((QUICK, (4, 19)), (SLOW, (20, 35))):  # "quick brown fox", "jumps over the l"
        edit = s.wait_until(lambda: (lambda e: e if e.get("found") else None)(s.probe.edit_control("Notepad", first, last)),
                            "notepad with the text", timeout=30)
        (x1, y1), (x2, y2) = edit["points"]
        y = y1 + edit["line_height"] // 2
        start_autodrag(s)
        drag(s, (x1 + 1, y), (x2 + 1, y), pace)
        wait_for_autodrag_off(s)
        s.wait_until(lambda: not s.probe.pointer()["left"], "the left button to be up again")
        selection = s.probe.edit_control("Notepad")["selection"]
        s.screenshot(f"selection-{pace.name}")
        assert selection == [first, last], f"{pace.name}: selected {selection}, expected {[first, last]}: {text[first:last]!r}"

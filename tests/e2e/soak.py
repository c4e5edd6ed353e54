#!/usr/bin/env python3
"""Many drags and many trips through the tray in one run of the real program under Wine:
30 drags in a row into the probe window, careful, hasty, quick and given up by the
shortcut, each checked from the probe's log, then 30 minimise/restore trips (minimise
box, click on the tray icon). Reports the misses, the pause from the hand's first move
to the first move the probe sees with the button held, and the memory of the Linux
process running Vornatic.exe before and after.

Exits non-zero on a miss, or when the program's memory grew beyond what a run of Wine
moves by itself. Not part of ./dev test: run it with ./dev soak."""
import argparse
import random
import statistics
import sys
import time
import traceback
from pathlib import Path

HERE = Path(__file__).resolve().parent
sys.dont_write_bytecode = True  # keep the source tree free of __pycache__
sys.path.insert(0, str(HERE))

from harness import hook_timings, standalone  # noqa: E402
from harness.processes import only_one  # noqa: E402
from harness.clock import now_ms  # noqa: E402
from scenarios.test_autodrag import (CAREFUL, HASTY, OFF, QUICK, SHORTCUT, START, STOP, drag, hand_click,  # noqa: E402
                                     moves_fault, start_autodrag, wait_for_autodrag_off)
from scenarios.test_tray import minimise  # noqa: E402

PROBE_GEOMETRY = (20, 20, 420, 320)
# What RSS does by itself between two looks at an idle Wine program is a few hundred KiB
# (pages of shared libraries coming and going); a leak of a handle or a bitmap per drag or
# per trip, 60 times over, shows well above this.
MEMORY_NOISE_KIB = 2048


def memory_kib(pid):
    """(resident, of which anonymous) in KiB, from /proc/PID/status."""
    fields = {}
    for line in Path(f"/proc/{pid}/status").read_text().splitlines():
        key, _, value = line.partition(":")
        if key in ("VmRSS", "RssAnon"):
            fields[key] = int(value.split()[0])
    return fields["VmRSS"], fields["RssAnon"]


def points(seed, count, client):
    """Pick-up and drop points inside the probe's client area, apart enough to be a drag,
    and how the hand makes it: (pick, drop, kind)."""
    width, height = client[2] - client[0], client[3] - client[1]
    draw = random.Random(seed)
    result = []
    while len(result) < count:
        pick = (draw.randint(30, width - 60), draw.randint(30, height - 40))
        drop = (draw.randint(30, width - 60), draw.randint(30, height - 40))
        if abs(pick[0] - drop[0]) + abs(pick[1] - drop[1]) >= 60:
            result.append((pick, drop, draw.choice(["careful", "hasty", "quick", "given up"])))
    return result


PACES = {"careful": CAREFUL, "hasty": HASTY, "quick": QUICK}


def soak_drag(s, log, client, pick, drop, kind):
    """One drag into the probe window. Returns what it missed (empty when nothing), the
    pause in ms from the hand's first move to the first move the probe saw with the
    button held, and how many moves reached the probe.

    A miss is a fault in the clicks: anything but the hand's press at the pick-up and one
    release, the hand's at the drop (or ours back at the pick-up when given up), a move
    without the button, or a pointer not given back after a give-up."""
    left, top = client[0], client[1]
    since = log.events()[-1].t
    start_autodrag(s)
    start, end = (left + pick[0], top + pick[1]), (left + drop[0], top + drop[1])
    if kind == "given up":
        s.desktop.move(*start)
        time.sleep(0.15)
        hand_click(s, 0.08)
        moving_from = now_ms()
        path = s.desktop.glide(start, end, steps=8, step_seconds=0.03)
        time.sleep(0.2)
        s.desktop.key(SHORTCUT)
        expected = [("WM_LBUTTONDOWN", *pick), ("WM_LBUTTONUP", *pick)]
    else:
        path, moving_from, _ = drag(s, start, end, PACES[kind])
        expected = [("WM_LBUTTONDOWN", *pick), ("WM_LBUTTONUP", *drop)]
    wait_for_autodrag_off(s)
    s.wait_until(lambda: not s.probe.pointer()["left"], "the left button to be up again")

    events = [e for e in log.events() if e.t > since]
    buttons = [(i, e) for i, e in enumerate(events) if "BUTTON" in e.msg]
    seen = [(e.msg, e.x, e.y) for _, e in buttons]
    if seen != expected:
        return f"buttons {seen}, not {expected}", None, 0
    moves = [e for e in events[buttons[0][0] + 1:buttons[1][0]] if e.msg == "WM_MOUSEMOVE"]
    if kind == "given up" and moves and (moves[-1].x, moves[-1].y) == pick:
        moves.pop()  # ours: the item carried back to where it was picked up
    fault = moves_fault(moves, [(x - left, y - top) for x, y in path])
    if fault:
        return fault, None, len(moves)
    if kind == "given up":
        pointer = s.probe.pointer()
        if (pointer["x"], pointer["y"]) != end:
            return f"the pointer was not given back: {pointer}, not {end}", None, len(moves)
    pause = moves[0].t - moving_from if s.clocks_agree else None
    return "", pause, len(moves)


def recover(s):
    """After a miss: the window back from the tray, auto-drag off, the button up."""
    window = s.main_window()
    if window and not window.visible:
        s.desktop.click_at(*s.probe.tray_icon_centre())
        window = s.wait_for_main_window(lambda w: w.visible, "the window back after a miss")
    if window and window.shows(STOP):
        s.click_button(STOP)
    wait_for_autodrag_off(s)
    s.wait_until(lambda: not s.probe.pointer()["left"], "the left button up after a miss")


def tray_trip(s, window):
    minimise(s, window)
    s.wait_for_main_window(lambda w: not w.visible, "the window to go to the tray")
    s.desktop.click_at(*s.wait_until(s.probe.tray_icon_centre, "the tray icon"))
    back = s.wait_for_main_window(lambda w: w.visible and not w.minimized, "the window back from the tray")
    if back.rect != window.rect or not back.shows(START) or not back.shows(OFF):
        raise AssertionError(f"the window came back changed: {back}")
    return back


def soak(s, drags, trips, seed):
    log, client = s.start_probe_window(PROBE_GEOMETRY)
    timings = s.artefacts / "hook-answers.txt"
    with hook_timings.recorded(timings):
        window = s.start_vornatic()
    pid = only_one("Vornatic.exe", str(s.prefix.path))
    memory = {"at start": memory_kib(pid)}
    misses, pauses, moves_seen = [], [], []

    for number, (pick, drop, kind) in enumerate(points(seed, drags, client), 1):
        try:
            miss, pause, moves = soak_drag(s, log, client, pick, drop, kind)
        except AssertionError as error:  # a wait that ran out: the drag never ended
            miss, pause, moves = str(error), None, 0
            recover(s)
        s.note(f"drag {number} ({kind}): pause {pause} ms, {moves} moves reached the probe; {miss or 'no miss'}")
        if pause is not None:
            pauses.append(pause)
        moves_seen.append(moves)
        if number == 1:
            # The first drag makes what every later one reuses (the badge's window among it).
            memory["after the first drag"] = memory_kib(pid)
        if miss:
            misses.append(f"drag {number} ({kind}) {pick}->{drop}: {miss}")
            s.screenshot(f"drag-{number}-missed")
    double_clicks = [e for e in log.events() if "DBLCLK" in e.msg]
    if double_clicks:
        misses.append(f"double-clicks reached the probe: {double_clicks}")
    window = wait_for_autodrag_off(s)
    memory[f"after {drags} drags"] = memory_kib(pid)

    for number in range(1, trips + 1):
        try:
            window = tray_trip(s, window)
        except AssertionError as miss:
            misses.append(f"tray trip {number}: {miss}")
            s.note(f"tray trip {number} missed: {miss}")
            s.screenshot(f"trip-{number}-missed")
            recover(s)
            window = s.main_window()
    memory[f"after {trips} tray trips"] = memory_kib(pid)
    answers = hook_timings.answers(timings)
    if answers:
        print(f"soak: the hook answered {answers[0]} times: longest {answers[1]} us, "
              f"99th percentile {answers[2]} us")
    return misses, pauses, moves_seen, memory


def report(drags, trips, misses, pauses, moves_seen, memory):
    print(f"soak: {drags} drags and {trips} tray trips, {len(misses)} missed")
    for miss in misses:
        print(f"  missed: {miss}")
    if pauses:
        print(f"soak: pause (the hand's first move to the first held move at the probe), ms: min {min(pauses):.0f}, "
              f"median {statistics.median(pauses):.0f}, max {max(pauses):.0f} over {len(pauses)} drags")
    if moves_seen:
        print(f"soak: moves reaching the probe per drag: min {min(moves_seen)}, "
              f"median {statistics.median(moves_seen):.0f}, max {max(moves_seen)}")
    for when, (rss, anon) in memory.items():
        print(f"soak: Vornatic.exe memory {when + ':':<22} RSS {rss:7d} KiB, anonymous {anon:7d} KiB")
    first, last = list(memory.values())[0], list(memory.values())[-1]
    growth = last[1] - first[1]
    print(f"soak: anonymous memory grew {growth} KiB (noise allowance {MEMORY_NOISE_KIB} KiB)")
    if "after the first drag" in memory:
        print(f"soak: of which after the first drag: {last[1] - memory['after the first drag'][1]} KiB")
    return growth


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--drags", type=int, default=30)
    parser.add_argument("--trips", type=int, default=30)
    parser.add_argument("--seed", type=int, default=11, help="chooses the pick-up and drop points")
    standalone.add_arguments(parser, "soak-run")
    args = parser.parse_args()
    s = standalone.fresh_scenario("soak", args)
    failed = True
    try:
        s.set_up()
        misses, pauses, moves_seen, memory = soak(s, args.drags, args.trips, args.seed)
        growth = report(args.drags, args.trips, misses, pauses, moves_seen, memory)
        failed = bool(misses) or growth > MEMORY_NOISE_KIB
        print("soak: " + ("FAILED" if failed else "passed") + f"; artefacts in {s.artefacts}")
        return 1 if failed else 0
    except Exception:
        traceback.print_exc()
        print(f"soak: FAILED before the end; artefacts in {s.artefacts}")
        return 1
    finally:
        s.tear_down(failed=failed)


if __name__ == "__main__":
    sys.exit(main())

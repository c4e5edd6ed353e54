#!/usr/bin/env python3
"""How long the latch's hook keeps input waiting: 30 latched drags into the probe window
under Wine, each checked from the probe's log, and for every press, held move and drop
release the time from just before xdotool sent it to the probe receiving it. The same
presses, moves and releases without Vornatic running, before it starts, are the baseline
in the same session: what the X server, Wine and the probe take by themselves.

The hook answers before Wine queues the event, so the difference between the two is what
the hook added; a latch that waited inside the hook would show as the hold time itself.
Vornatic also times its own hook's every answer (VORNATIC_HOOK_TIMINGS), written when the
hook goes: at the end Vornatic is closed as at logoff, and the longest and 99th
percentile answers are printed."""
import argparse
import statistics
import sys
import time
from pathlib import Path

sys.dont_write_bytecode = True  # keep the source tree free of __pycache__
sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "tests" / "e2e"))

from harness import hook_timings, standalone  # noqa: E402
from harness.clock import now_ms  # noqa: E402

HOLD_MS = 800
PROBE_GEOMETRY = (20, 20, 600, 400)


def one_drag(s, log, client, pick, drop, hold_seconds):
    """Press at pick held for hold_seconds and released, glide to drop, click there.
    Returns the probe's events since, its button messages and when each was sent (ms)."""
    left, top = client[0], client[1]
    since = log.events()[-1].t
    start, end = (left + pick[0], top + pick[1]), (left + drop[0], top + drop[1])
    s.desktop.move(*start)
    time.sleep(0.3)
    press_sent = now_ms()
    s.desktop.press()
    time.sleep(hold_seconds)
    s.desktop.release()
    sent = {}
    for i in range(1, 7):  # a glide of six steps, each timed as it is sent
        x, y = round(start[0] + (end[0] - start[0]) * i / 6), round(start[1] + (end[1] - start[1]) * i / 6)
        sent.setdefault((x - left, y - top), now_ms())
        s.desktop.move(x, y)
        time.sleep(0.04)
    time.sleep(0.6)  # beyond the double-click time: a drop, not a bounce
    s.desktop.press()
    time.sleep(0.05)
    drop_sent = now_ms()
    s.desktop.release()
    s.wait_until(lambda: any(e.msg == "WM_LBUTTONUP" and (e.x, e.y) == drop for e in log.events() if e.t > since),
                 "the drop's release in the probe", timeout=15)
    events = [e for e in log.events() if e.t > since]
    buttons = [(e.msg, e.x, e.y) for e in events if "BUTTON" in e.msg]
    return events, buttons, press_sent, sent, drop_sent


def delays(events, press_sent, sent, drop_sent):
    """Milliseconds from sending to the probe's receipt: the first press, every move, the last release."""
    press = next(e for e in events if e.msg == "WM_LBUTTONDOWN")
    moves = [e.t - sent[(e.x, e.y)] for e in events if e.msg == "WM_MOUSEMOVE" and (e.x, e.y) in sent]
    release = [e for e in events if e.msg == "WM_LBUTTONUP"][-1]
    return press.t - press_sent, moves, release.t - drop_sent


def summary(label, values):
    return f"{label:<34} longest {max(values):7.1f} ms, median {statistics.median(values):6.1f} ms ({len(values)})"


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--latches", type=int, default=30)
    standalone.add_arguments(parser, "latch-soak-run")
    args = parser.parse_args()
    s = standalone.fresh_scenario("latch-soak", args)
    failed = True
    try:
        s.set_up()
        s.prefix.run(["reg", "add", "HKCU\\Software\\Kestrova\\Vornatic", "/v", "Latch", "/t", "REG_SZ", "/d",
                      str(HOLD_MS), "/f"], check=True)
        log, client = s.start_probe_window(geometry=PROBE_GEOMETRY)
        if not s.clocks_agree:
            raise RuntimeError("the probe's clock and ours differ; no delay can be measured")
        pairs = [((60 + 7 * i % 200, 60 + 5 * i % 100), (380 - 3 * i % 150, 300 - 7 * i % 120))
                 for i in range(args.latches)]

        # Baseline: the same hand without Vornatic: a click at pick, moves, a click at drop.
        base = {"press": [], "move": [], "release": []}
        for pick, drop in pairs[:10]:
            events, _, press_sent, sent, drop_sent = one_drag(s, log, client, pick, drop, 0.1)
            press, moves, release = delays(events, press_sent, sent, drop_sent)
            base["press"].append(press)
            base["move"] += moves
            base["release"].append(release)
        timings = s.artefacts / "hook-answers.txt"
        with hook_timings.recorded(timings):
            s.start_vornatic()
        latched = {"press": [], "move": [], "release": []}
        misses = []
        for i, (pick, drop) in enumerate(pairs):
            events, buttons, press_sent, sent, drop_sent = one_drag(s, log, client, pick, drop, 1.0)
            if buttons != [("WM_LBUTTONDOWN", *pick), ("WM_LBUTTONUP", *drop)]:
                misses.append((i, buttons))
                continue
            press, moves, release = delays(events, press_sent, sent, drop_sent)
            latched["press"].append(press)
            latched["move"] += moves
            latched["release"].append(release)
        print(f"{args.latches} latches of {HOLD_MS} ms held 1 s: {len(misses)} missed {misses}")
        print(summary("without Vornatic, press:", base["press"]))
        print(summary("without Vornatic, move:", base["move"]))
        print(summary("without Vornatic, release:", base["release"]))
        print(summary("latch on, press (starts the hold):", latched["press"]))
        print(summary("latch on, held move:", latched["move"]))
        print(summary("latch on, drop release:", latched["release"]))
        slowest = sorted(enumerate(latched["press"]), key=lambda p: -p[1])[:3]
        print("slowest presses (latch number, ms): " + ", ".join(f"{i + 1}: {ms:.1f}" for i, ms in slowest))
        # The latch keeps its hook in while Vornatic runs; closing it writes the answers.
        s.prefix.run(["taskkill", "/im", "Vornatic.exe"], timeout=60)
        s.wait_until(lambda: hook_timings.answers(timings), "Vornatic's hook answer times")
        count, longest, p99 = hook_timings.answers(timings)
        print(f"the hook answered {count} times: longest {longest} us, 99th percentile {p99} us")
        failed = bool(misses)
        return 1 if misses else 0
    finally:
        s.tear_down(failed=failed)


if __name__ == "__main__":
    sys.exit(main())

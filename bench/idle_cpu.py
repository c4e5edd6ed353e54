#!/usr/bin/env python3
"""What auto-drag costs while it waits: CPU seconds used by Vornatic.exe under Wine in
10 s of waiting for the first click (after Start and the balloon's 5 s), beside an idle
probe window measured over the same 10 s in the same Wine session. With --latch MS, no
Start: the latch's hook watches for a held press instead, with no input.

Figures come from /proc: utime + stime of each process (10 ms clock ticks), and the
nanosecond run time of all its threads from schedstat, which the ratio uses."""
import argparse
import os
import sys
import time
from pathlib import Path

sys.dont_write_bytecode = True  # keep the source tree free of __pycache__
sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "tests" / "e2e"))

from harness import standalone  # noqa: E402
from harness.processes import only_one, processes_named  # noqa: E402

TICK = os.sysconf("SC_CLK_TCK")
TARGET_RATIO = 1.2
TARGET_SHARE = 0.01  # of one core


def cpu_seconds(pid):
    """(utime + stime in seconds, run time of all threads in seconds from schedstat)."""
    fields = Path(f"/proc/{pid}/stat").read_text().rsplit(")", 1)[1].split()
    ticks = int(fields[11]) + int(fields[12])
    run_ns = 0
    for task in Path(f"/proc/{pid}/task").iterdir():
        try:
            run_ns += int((task / "schedstat").read_text().split()[0])
        except (OSError, ValueError, IndexError):
            pass
    return ticks / TICK, run_ns / 1e9


def describe(label, used, seconds):
    ticks, precise = used
    return (f"{label:<36} {ticks:6.3f} s utime+stime, {precise:7.4f} s on CPU in {seconds:.1f} s"
            f" = {100 * precise / seconds:5.2f} % of one core")


def measure(scenario, seconds):
    prefix = str(scenario.prefix.path)
    watched = {"Vornatic.exe": only_one("Vornatic.exe", prefix), "probe.exe": only_one("probe.exe", prefix)}
    servers = processes_named("wineserver", prefix)
    before = {name: cpu_seconds(pid) for name, pid in watched.items()}
    server_before = [cpu_seconds(pid) for pid in servers]
    started = time.monotonic()
    time.sleep(seconds)
    elapsed = time.monotonic() - started
    used = {name: tuple(b - a for a, b in zip(before[name], cpu_seconds(pid))) for name, pid in watched.items()}
    server_used = tuple(sum(b[i] - a[i] for a, b in zip(server_before, (cpu_seconds(p) for p in servers)))
                        for i in range(2))
    totals = {name: cpu_seconds(pid)[1] for name, pid in watched.items()}
    return used, server_used, elapsed, totals


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--seconds", type=float, default=10.0)
    parser.add_argument("--latch", type=int, default=None, help="hold time in ms: measure the latch on, no Start")
    standalone.add_arguments(parser, "bench-run")
    args = parser.parse_args()
    scenario = standalone.fresh_scenario("idle-cpu", args)
    failed = True
    try:
        scenario.set_up()
        if args.latch is not None:
            scenario.prefix.run(["reg", "add", "HKCU\\Software\\Kestrova\\Vornatic", "/v", "Latch", "/t", "REG_SZ",
                                 "/d", str(args.latch), "/f"], check=True)
        scenario.start_vornatic()
        scenario.probe.start_idle_window(scenario.artefacts / "idle-output.txt")
        scenario.wait_until(lambda: (w := scenario.probe.inspect("Probe Idle")) and w.visible, "the idle window")
        if args.latch is None:
            scenario.click_button("Start Autodrag")
            scenario.wait_for_main_window(lambda w: not w.visible, "the window to go to the tray")
            scenario.wait_for_main_window(lambda w: w.child("Auto-drag is on.") is not None, "auto-drag on", 20)
            # Auto-drag is armed at once; the first balloon is taken down by a timer 5 s after
            # Start, once. The waiting measured here is what follows it.
            time.sleep(5.0)
        time.sleep(1.0)

        used, server, elapsed, totals = measure(scenario, args.seconds)
        window = scenario.main_window()
        if args.latch is None and (window.visible or window.child("Auto-drag is on.") is None):
            raise RuntimeError("auto-drag did not stay on while it was measured")
        waiting = "auto-drag waiting:" if args.latch is None else f"latch {args.latch} ms on:"

        program, idle = used["Vornatic.exe"], used["probe.exe"]
        print(describe(f"Vornatic.exe, {waiting}", program, elapsed))
        print(describe("probe.exe idle window (baseline):", idle, elapsed))
        print(describe("wineserver (serves both):", server, elapsed))
        print("since each started: " + ", ".join(f"{name} {seconds:.3f} s on CPU" for name, seconds in totals.items()))
        # Below a millisecond the baseline is noise; compare against at least that.
        ratio = program[1] / max(idle[1], 0.001)
        share = program[1] / elapsed
        print(f"ratio: {ratio:.2f}x the idle window (target <= {TARGET_RATIO}x); "
              f"{100 * share:.2f} % of one core (target < {100 * TARGET_SHARE:.0f} %)")
        met = ratio <= TARGET_RATIO and share < TARGET_SHARE
        print("target met" if met else "target NOT met")
        failed = not met
        return 0 if met else 1
    finally:
        scenario.tear_down(failed=failed)


if __name__ == "__main__":
    sys.exit(main())

#!/usr/bin/env python3
"""Many drags and many trips through the tray in one run of the real program under Wine:
30 drags in a row into the probe window, each checked as the auto-drag scenario checks
one, then 30 minimise/restore trips (minimise box, click on the tray icon). Reports the
misses, the hold times (from the probe's log: the person's press to the release put
back), and the memory of the Linux process running Vornatic.exe before and after.

Exits non-zero on a miss, or when the program's memory grew beyond what a run of Wine
moves by itself. Not part of ./dev test: run it with ./dev soak."""
import argparse
import random
import shutil
import statistics
import sys
import traceback
from pathlib import Path

HERE = Path(__file__).resolve().parent
sys.dont_write_bytecode = True  # keep the source tree free of __pycache__
sys.path.insert(0, str(HERE))

from harness import paths  # noqa: E402
from harness.display import Xvfb  # noqa: E402
from harness.scenario import Scenario  # noqa: E402
from harness.wine import make_template  # noqa: E402
from scenarios.test_autodrag import OFF, START, STOP, drag_in_probe, wait_for_autodrag_off  # noqa: E402
from scenarios.test_tray import minimise  # noqa: E402

PROBE_GEOMETRY = (20, 20, 420, 320)
# What RSS does by itself between two looks at an idle Wine program is a few hundred KiB
# (pages of shared libraries coming and going); a leak of a handle or a bitmap per drag or
# per trip, 60 times over, shows well above this.
MEMORY_NOISE_KIB = 2048


def processes_in_prefix(name, prefix):
    """Pids of the processes called `name` (as Wine names them in /proc) in this prefix."""
    found = []
    for stat in Path("/proc").glob("[0-9]*/stat"):
        try:
            comm = stat.read_text().split("(", 1)[1].rsplit(")", 1)[0]
            if comm == name and f"WINEPREFIX={prefix}".encode() in (stat.parent / "environ").read_bytes().split(b"\0"):
                found.append(int(stat.parent.name))
        except (OSError, IndexError):
            continue
    return found


def memory_kib(pid):
    """(resident, of which anonymous) in KiB, from /proc/PID/status."""
    fields = {}
    for line in Path(f"/proc/{pid}/status").read_text().splitlines():
        key, _, value = line.partition(":")
        if key in ("VmRSS", "RssAnon"):
            fields[key] = int(value.split()[0])
    return fields["VmRSS"], fields["RssAnon"]


def points(seed, count, client):
    """Pick-up and drop points inside the probe's client area, apart enough to be a drag."""
    width, height = client[2] - client[0], client[3] - client[1]
    draw = random.Random(seed)
    result = []
    while len(result) < count:
        pick = (draw.randint(30, width - 60), draw.randint(30, height - 40))
        drop = (draw.randint(30, width - 60), draw.randint(30, height - 40))
        if abs(pick[0] - drop[0]) + abs(pick[1] - drop[1]) >= 60:
            result.append((pick, drop))
    return result


def hold_ms(events):
    """The person's press to the pick-up release put back: the first two button messages."""
    buttons = [e for e in events if "BUTTON" in e.msg]
    return buttons[1].t - buttons[0].t


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
    window = s.start_vornatic()
    pids = processes_in_prefix("Vornatic.exe", str(s.prefix.path))
    if len(pids) != 1:
        raise RuntimeError(f"expected one Vornatic.exe process, found {pids}")
    pid = pids[0]
    memory = {"at start": memory_kib(pid)}
    misses, holds = [], []

    for number, (pick, drop) in enumerate(points(seed, drags, client), 1):
        try:
            holds.append(hold_ms(drag_in_probe(s, log, client, pick, drop)))
            s.note(f"drag {number}: held {holds[-1]:.0f} ms")
        except AssertionError as miss:
            misses.append(f"drag {number} {pick}->{drop}: {miss}")
            s.note(f"drag {number} missed: {miss}")
            s.screenshot(f"drag-{number}-missed")
            recover(s)
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
    return misses, holds, memory


def report(drags, trips, misses, holds, memory):
    print(f"soak: {drags} drags and {trips} tray trips, {len(misses)} missed")
    for miss in misses:
        print(f"  missed: {miss}")
    if holds:
        print(f"soak: hold (press to release put back), ms: min {min(holds):.0f}, "
              f"median {statistics.median(holds):.0f}, max {max(holds):.0f} over {len(holds)} drags")
    for when, (rss, anon) in memory.items():
        print(f"soak: Vornatic.exe memory {when + ':':<22} RSS {rss:7d} KiB, anonymous {anon:7d} KiB")
    first, last = list(memory.values())[0], list(memory.values())[-1]
    growth = last[1] - first[1]
    print(f"soak: anonymous memory grew {growth} KiB (noise allowance {MEMORY_NOISE_KIB} KiB)")
    return growth


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--drags", type=int, default=30)
    parser.add_argument("--trips", type=int, default=30)
    parser.add_argument("--seed", type=int, default=11, help="chooses the pick-up and drop points")
    parser.add_argument("--exe", type=Path, default=paths.default_exe())
    parser.add_argument("--probe", type=Path, default=paths.default_probe())
    parser.add_argument("--workdir", type=Path, default=paths.BUILD / "soak-run")
    args = parser.parse_args()
    workdir = args.workdir.resolve()
    if workdir.exists():
        shutil.rmtree(workdir)
    workdir.mkdir(parents=True)

    with Xvfb() as display:
        make_template(workdir / "template-prefix", display.name)
    s = Scenario("soak", workdir / "template-prefix", workdir / "soak", args.exe, args.probe)
    failed = True
    try:
        s.set_up()
        misses, holds, memory = soak(s, args.drags, args.trips, args.seed)
        growth = report(args.drags, args.trips, misses, holds, memory)
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

#!/usr/bin/env python3
"""Starts the built Vornatic.exe for a look: on the current X display, or on a private
Xvfb when there is none, inside Wine's virtual desktop. Waits for the window, saves a
screenshot and says where. `--stop` ends what an earlier launch left running."""
import argparse
import os
import signal
import subprocess
import sys
from pathlib import Path

sys.dont_write_bytecode = True  # keep the source tree free of __pycache__
sys.path.insert(0, str(Path(__file__).resolve().parent))

from harness import paths  # noqa: E402
from harness.desktop import Desktop  # noqa: E402
from harness.display import Xvfb  # noqa: E402
from harness.poll import wait_until  # noqa: E402
from harness.probe import Probe  # noqa: E402
from harness.scenario import VORNATIC_TITLE  # noqa: E402
from harness.wine import WinePrefix, make_template  # noqa: E402

STATE = Path(os.environ.get("VORNATIC_DEV_STATE", paths.BUILD / "dev-run")).resolve()


def prefix_path(dpi):
    return STATE / f"prefix-{dpi}dpi"


def usable_display():
    display = os.environ.get("DISPLAY")
    if display and subprocess.run(["xdpyinfo", "-display", display], stdout=subprocess.DEVNULL,
                                  stderr=subprocess.DEVNULL).returncode == 0:
        return display
    return None


def stop():
    for prefix in STATE.glob("prefix-*dpi"):
        WinePrefix(prefix, os.environ.get("DISPLAY", ":0")).server("-k")
    pid_file = STATE / "xvfb.pid"
    if pid_file.exists():
        try:
            os.kill(int(pid_file.read_text()), signal.SIGTERM)
        except (ProcessLookupError, ValueError):
            pass
        pid_file.unlink()
    print("dev: stopped")


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--dpi", type=int, default=96)
    parser.add_argument("--exe", type=Path, default=paths.default_exe())
    parser.add_argument("--probe", type=Path, default=paths.default_probe())
    parser.add_argument("--stop", action="store_true")
    args = parser.parse_args()
    if args.stop:
        stop()
        return 0
    for built in (args.exe, args.probe):
        if not built.exists():
            print(f"dev: {built} is not built", file=sys.stderr)
            return 1
    STATE.mkdir(parents=True, exist_ok=True)

    display = usable_display()
    if display is None:
        if (STATE / "xvfb.pid").exists():
            stop()
        xvfb = Xvfb()
        xvfb.start()
        display = xvfb.name
        # The server outlives this script so the program stays there to be looked at.
        (STATE / "xvfb.pid").write_text(str(xvfb.process.pid))
        print(f"dev: no X display here; started Xvfb on {display}")

    prefix_dir = prefix_path(args.dpi)
    if not (prefix_dir / "user.reg").exists():
        print(f"dev: making a Wine prefix at {args.dpi} DPI in {prefix_dir} (once)")
        make_template(prefix_dir, display, dpi=args.dpi)
    prefix = WinePrefix(prefix_dir, display)
    prefix.server("-k")  # one Vornatic at a time in this prefix
    prefix.server("-w")
    subprocess.Popen(["wine", str(args.exe.resolve())], env=prefix.env, cwd=args.exe.parent,
                     stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                     start_new_session=True)

    desktop = Desktop(display)
    wait_until(desktop.find_desktop_origin, 60, "the Wine desktop window")
    probe = Probe(prefix, args.probe)

    def window_up():
        window = probe.inspect(VORNATIC_TITLE)
        return window if window and window.visible and window.texts() else None

    window = wait_until(window_up, 60, "Vornatic's window", interval=0.25)
    shots = STATE / "screenshots"
    shots.mkdir(parents=True, exist_ok=True)
    whole = desktop.screenshot(shots / f"desktop-{args.dpi}dpi.png", region=(0, 0, 1024, 768))
    alone = desktop.screenshot(shots / f"window-{args.dpi}dpi.png", region=window.rect)
    print(f"dev: Vornatic is running on DISPLAY={display} (WINEPREFIX={prefix_dir})")
    print(f"dev: window at {window.rect}, client {window.client}; controls: {', '.join(window.texts())}")
    print(f"dev: screenshot of the desktop: {whole}")
    print(f"dev: screenshot of the window:  {alone}")
    print("dev: stop it with ./dev stop")
    return 0


if __name__ == "__main__":
    sys.exit(main())

"""A private Xvfb server, found on the first free display number of a range."""
import os
import subprocess
import time
from pathlib import Path

from .poll import wait_until

DEFAULT_RANGE = "70-79"


def display_numbers():
    low, _, high = os.environ.get("VORNATIC_E2E_DISPLAYS", DEFAULT_RANGE).partition("-")
    return range(int(low), int(high or low) + 1)


def _taken(number):
    return Path(f"/tmp/.X{number}-lock").exists() or Path(f"/tmp/.X11-unix/X{number}").exists()


class Xvfb:
    def __init__(self, width=1280, height=1024):
        self.size = (width, height)
        self.process = None
        self.name = None

    def start(self):
        for number in display_numbers():
            if _taken(number):
                continue
            name = f":{number}"
            process = subprocess.Popen(
                ["Xvfb", name, "-screen", "0", f"{self.size[0]}x{self.size[1]}x24", "-nolisten", "tcp"],
                stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            try:
                wait_until(lambda: process.poll() is not None or self._answers(name), 10, f"Xvfb on {name}")
            except AssertionError:
                process.kill()
                process.wait()
                continue
            if process.poll() is None:
                self.process, self.name = process, name
                return self
        raise RuntimeError(f"no free X display in {os.environ.get('VORNATIC_E2E_DISPLAYS', DEFAULT_RANGE)}")

    @staticmethod
    def _answers(name):
        return subprocess.run(["xdpyinfo", "-display", name], stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL).returncode == 0

    def stop(self):
        if self.process and self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(5)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        self.process = None

    def __enter__(self):
        return self.start()

    def __exit__(self, *exc):
        self.stop()

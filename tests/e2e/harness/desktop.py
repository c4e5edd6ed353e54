"""The person at the desk: pointer moves and clicks through xdotool, screenshots through
ImageMagick. Coordinates are Windows screen pixels; the virtual desktop sits at the X
screen's top-left corner, which `desktop_origin` checks rather than assumes."""
import os
import re
import subprocess
import time

from .clock import now_ms

LEFT = 1
RIGHT = 3


class Desktop:
    def __init__(self, display):
        self.display = display
        self.origin = (0, 0)
        self.size = None
        self._env = dict(os.environ, DISPLAY=display)

    def _xdotool(self, *args):
        subprocess.run(["xdotool", *map(str, args)], env=self._env, check=True, timeout=20,
                       stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL)

    def find_desktop_origin(self):
        """Where the Wine desktop window's top-left lies on the X screen, or None while it
        is not there. xwininfo, not xdotool: inside the virtual desktop xdotool reports
        doubled positions."""
        tree = subprocess.run(["xwininfo", "-root", "-children"], env=self._env,
                              capture_output=True, text=True, timeout=20).stdout
        match = re.search(r'^\s*(0x[0-9a-f]+) "[^"]*- Wine desktop"', tree, re.M)
        if not match:
            return None
        info = subprocess.run(["xwininfo", "-id", match.group(1)], env=self._env,
                              capture_output=True, text=True, timeout=20).stdout
        found = [re.search(pattern, info) for pattern in (
            r"Absolute upper-left X:\s+(-?\d+)", r"Absolute upper-left Y:\s+(-?\d+)",
            r"Width:\s+(\d+)", r"Height:\s+(\d+)")]
        if not all(found):
            return None
        x, y, width, height = (int(match.group(1)) for match in found)
        self.origin, self.size = (x, y), (width, height)
        return self.origin

    def move(self, x, y):
        self._xdotool("mousemove", self.origin[0] + x, self.origin[1] + y)

    def press(self, button=LEFT):
        self._xdotool("mousedown", button)

    def release(self, button=LEFT):
        self._xdotool("mouseup", button)
        return now_ms()

    def click(self, button=LEFT):
        """A quick click: press, a brief hold, release. Returns the time (now_ms) by which
        the release had been sent. (xdotool's own "click" lingers 100 ms after the
        release, which would blur that time.)"""
        self.press(button)
        time.sleep(0.05)
        return self.release(button)

    def click_at(self, x, y, button=LEFT):
        self.move(x, y)
        # A hand comes to rest before it clicks; this is pacing, not an assertion.
        time.sleep(0.15)
        return self.click(button)

    def key(self, combination):
        """Presses a key combination, such as "super+shift+d", as a person would."""
        self._xdotool("key", combination)

    def glide(self, start, end, steps=8, step_seconds=0.08):
        """Moves the pointer from start to end through `steps` intermediate points, the
        way a hand drags; returns the points visited."""
        points = []
        for i in range(1, steps + 1):
            x = round(start[0] + (end[0] - start[0]) * i / steps)
            y = round(start[1] + (end[1] - start[1]) * i / steps)
            self.move(x, y)
            points.append((x, y))
            time.sleep(step_seconds)
        return points

    def screenshot(self, path, region=None):
        """Saves the Wine desktop (or a (left, top, right, bottom) region of it) as PNG."""
        args = ["import", "-display", self.display, "-window", "root"]
        if region is None and self.size:
            region = (0, 0, *self.size)
        if region:
            left, top, right, bottom = region
            args += ["-crop", f"{right - left}x{bottom - top}+{self.origin[0] + left}+{self.origin[1] + top}",
                     "+repage"]
        subprocess.run([*args, str(path)], check=True, timeout=60, stdin=subprocess.DEVNULL,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        return path

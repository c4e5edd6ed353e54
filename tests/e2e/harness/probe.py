"""The probe program seen from Python: window descriptions, the pointer and buttons as
Windows has them, and the log of a probe window."""
import json
import re
from dataclasses import dataclass, field
from pathlib import Path

from .wine import windows_path


@dataclass
class Child:
    cls: str
    text: str
    visible: bool
    enabled: bool
    rect: tuple
    focused: bool = False   # has the keyboard focus of its thread
    tabstop: bool = False

    @property
    def centre(self):
        left, top, right, bottom = self.rect
        return ((left + right) // 2, (top + bottom) // 2)


@dataclass
class WindowInfo:
    title: str
    cls: str
    visible: bool
    minimized: bool
    foreground: bool
    rect: tuple
    client: tuple
    children: list = field(default_factory=list)

    def child(self, text):
        """The child window showing exactly this text, or None."""
        return next((c for c in self.children if c.text == text), None)

    def shows(self, text):
        """True when a visible child window shows exactly this text."""
        found = self.child(text)
        return bool(found and found.visible)

    def texts(self):
        return [c.text for c in self.children if c.text]

    def focused(self):
        """The child window with the keyboard focus, or None."""
        return next((c for c in self.children if c.focused), None)


def _window_info(data):
    return WindowInfo(
        title=data["title"], cls=data["class"], visible=data["visible"], minimized=data["minimized"],
        foreground=data["foreground"], rect=tuple(data["window"]), client=tuple(data["client"]),
        children=[Child(c["class"], c["text"], c["visible"], c["enabled"], tuple(c["rect"]), c["focused"],
                        c["tabstop"])
                  for c in data["children"]])


class Probe:
    def __init__(self, prefix, exe):
        self.prefix = prefix
        self.exe = Path(exe)

    def _query(self, *args):
        result = self.prefix.run([self.exe, *args], timeout=30)
        if result.returncode not in (0, 1):
            raise RuntimeError(f"probe {' '.join(args)} exited {result.returncode}: {result.stdout}{result.stderr}")
        return json.loads(result.stdout) if result.stdout.strip() else {"found": False}

    def inspect(self, title):
        """The top-level window with exactly this title, or None."""
        data = self._query("inspect", title)
        return _window_info(data) if data.get("found") else None

    def inspect_class(self, cls):
        data = self._query("inspect", "--class", cls)
        return _window_info(data) if data.get("found") else None

    def inspect_all(self, title):
        """Every top-level window with exactly this title (a program's main window and
        its message box share one, say); inspect() picks the one with most controls."""
        return [_window_info(w) for w in self._query("inspect", "--all", title).get("windows", [])]

    def set_text_size(self, percent):
        """The user's text size, as the accessibility settings set it: the message font at
        that share of 9 points, stored and announced with WM_SETTINGCHANGE."""
        result = self.prefix.run([self.exe, "textsize", str(percent)], timeout=30)
        if result.returncode != 0:
            raise RuntimeError(f"probe textsize {percent} exited {result.returncode}: {result.stdout}{result.stderr}")

    def fit(self, title):
        """{'dpi', 'controls': [{'class', 'text', 'face', 'height', 'needed', 'available'}]}:
        each visible control of that window, its text's width in the control's own font
        against the room the control gives it, in pixels."""
        return self._query("fit", title)

    def inspect_all_class(self, cls):
        """Every top-level window of that class (a program's dialogs, say)."""
        return [_window_info(w) for w in self._query("inspect", "--all", "--class", cls).get("windows", [])]

    def pointer(self):
        """{'x', 'y', 'left', 'right'}: where the pointer is and which buttons are down."""
        return self._query("pointer")

    def edit_control(self, window_class, *indices):
        """{'selection': [start, end], 'line_height', 'points': [[x, y], ...]}: the edit
        control of the window of that class, and where those characters start on screen."""
        return self._query("edit", window_class, *map(str, indices))

    def tray_icon_centre(self):
        """Centre of the newest (right-most) tray icon slot, from the taskbar's geometry;
        None while the taskbar is not shown."""
        taskbar = self.inspect_class("Shell_TrayWnd")
        if not taskbar or not taskbar.visible:
            return None
        left, top, right, bottom = taskbar.rect
        height = bottom - top
        if height <= 0:
            return None
        return (right - height // 2, top + height // 2)

    def start_log_window(self, log_path, output, geometry=(20, 20, 400, 300)):
        return self.prefix.start([self.exe, "log", windows_path(log_path), *geometry], output=output)

    def start_idle_window(self, output=None):
        return self.prefix.start([self.exe, "idle"], output=output)

    def start_tray_icon(self, log_path, output=None):
        return self.prefix.start([self.exe, "tray", windows_path(log_path)], output=output)


@dataclass
class Event:
    t: float          # performance counter, milliseconds
    msg: str
    x: int = 0
    y: int = 0
    wp: int = 0       # key state for client messages (MK_LBUTTON = 1, MK_RBUTTON = 2)

    @property
    def left_held(self):
        return bool(self.wp & 1)

    @property
    def right_held(self):
        return bool(self.wp & 2)


_LINE = re.compile(r"t=(?P<t>[\d.]+) msg=(?P<msg>\w+)(?P<rest>.*)")


class ProbeLog:
    def __init__(self, path):
        self.path = Path(path)

    def lines(self):
        return self.path.read_text(errors="replace").splitlines() if self.path.exists() else []

    def events(self):
        events = []
        for line in self.lines():
            match = _LINE.match(line)
            if not match:
                continue
            fields = dict(part.split("=", 1) for part in match.group("rest").split() if "=" in part)
            events.append(Event(t=float(match.group("t")), msg=match.group("msg"),
                                x=int(fields.get("x", fields.get("sx", 0))),
                                y=int(fields.get("y", fields.get("sy", 0))),
                                wp=int(fields.get("wp", "0"), 16)))
        return events

    def ready(self):
        """The READY line's client origin and size, once the window is up."""
        for line in self.lines():
            match = re.search(r"msg=READY .*client=(-?\d+),(-?\d+),(\d+),(\d+)", line)
            if match:
                return tuple(int(v) for v in match.groups())
        return None

    def buttons(self, since=0.0):
        """Every button message (not moves) from time `since` on."""
        return [e for e in self.events() if e.t >= since and "BUTTON" in e.msg]

"""One scenario's world: its own X display, its own copy of the template prefix, the
person at the desk, the probe, and a folder for what it leaves behind (screenshots,
probe logs, program output)."""
import shutil
import time
from pathlib import Path

from .clock import now_ms
from .desktop import Desktop
from .display import Xvfb
from .poll import wait_until
from .probe import Probe, ProbeLog
from .wine import clone

VORNATIC_TITLE = "Vornatic"
INSTALL_DIR = "C:\\Program Files\\Vornatic"

# Generous limits: Wine on a loaded two-core machine can be slow to start a program,
# and a limit only costs time when something is already wrong.
START_TIMEOUT = 30
WINDOW_TIMEOUT = 15


def expected_failure(reason):
    """Marks a scenario that cannot pass yet, for the reason given. The run reports it
    apart; should it pass, the run fails so that the mark is taken off."""
    def mark(function):
        function.expected_failure = reason
        return function
    return mark


def needs_screen(width, height):
    """Gives a scenario a larger screen and Wine desktop than the usual 1024x768: a window
    laid out at a high DPI is as wide as a high-DPI screen allows."""
    def mark(function):
        function.screen = (width, height)
        return function
    return mark


class Scenario:
    def __init__(self, name, template, artefacts, exe, probe_exe, keep=False, screen=None):
        self.name = name
        # (width, height) of a larger screen and desktop than the template's, or None.
        self.screen = screen
        self.template = Path(template)
        self.artefacts = Path(artefacts)
        self.exe = Path(exe)
        self.probe_exe = Path(probe_exe)
        self.keep = keep
        self.xvfb = None
        self.prefix = None
        self.desktop = None
        self.probe = None
        # True once the probe's log has shown that its timestamps and now_ms() share a clock.
        self.clocks_agree = False
        self._shots = 0

    # --- lifecycle, driven by the runner -------------------------------------------

    def set_up(self):
        if self.artefacts.exists():
            shutil.rmtree(self.artefacts)
        self.artefacts.mkdir(parents=True)
        self.xvfb = (Xvfb(*self.screen) if self.screen else Xvfb()).start()
        self.prefix = clone(self.template, self.artefacts / "prefix", self.xvfb.name)
        if self.screen:
            self.prefix.run(["reg", "add", "HKCU\\Software\\Wine\\Explorer\\Desktops", "/v", "Default", "/d",
                             f"{self.screen[0]}x{self.screen[1]}", "/f"], check=True)
        self.desktop = Desktop(self.xvfb.name)
        self.probe = Probe(self.prefix, self.probe_exe)

    def tear_down(self, failed):
        try:
            if failed and self.xvfb and self.xvfb.process:
                self.screenshot("at-failure")
        except Exception as error:  # the failure itself matters more than its picture
            self.note(f"no screenshot at failure: {error}")
        finally:
            if self.prefix:
                self.prefix.shut_down()
            if self.xvfb:
                self.xvfb.stop()
            if self.prefix and not self.keep:
                shutil.rmtree(self.prefix.path, ignore_errors=True)

    # --- what scenarios use ----------------------------------------------------------

    def note(self, text):
        with open(self.artefacts / "steps.txt", "a") as steps:
            steps.write(f"{time.monotonic():.3f} {text}\n")

    def wait_until(self, condition, what, timeout=WINDOW_TIMEOUT, interval=0.1):
        self.note(f"wait for {what}")
        return wait_until(condition, timeout, what, interval)

    def screenshot(self, label, region=None):
        self._shots += 1
        path = self.artefacts / f"{self._shots:02d}-{label}.png"
        self.desktop.screenshot(path, region)
        self.note(f"screenshot {path.name}")
        return path

    def _wait_for_desktop(self):
        self.wait_until(self.desktop.find_desktop_origin, "the Wine desktop window", START_TIMEOUT)

    def install_vornatic(self):
        """Copies the built program folder into Program Files of this prefix."""
        if not self.exe.exists():
            raise AssertionError(f"{self.exe} is not built")
        target = self.prefix.unix_path(INSTALL_DIR)
        shutil.copytree(self.exe.parent, target, dirs_exist_ok=True)
        return target / self.exe.name

    def start_vornatic(self, locale=None, start_caption="Start Autodrag"):
        """Starts the program as a person would from its folder and waits until its
        window shows with the Start button; returns the window's description. `locale`
        starts it for a user of that display language (a Linux locale, "de_DE.UTF-8"),
        whose Start button reads `start_caption`."""
        installed = self.install_vornatic()
        self.note(f"start Vornatic.exe{' in ' + locale if locale else ''}")
        self.prefix.start([f"{INSTALL_DIR}\\{installed.name}"], output=self.artefacts / "vornatic-output.txt",
                          cwd=installed.parent, locale=locale)
        self._wait_for_desktop()
        return self.wait_for_main_window(lambda w: w.visible and w.shows(start_caption),
                                         f"Vornatic's window with \"{start_caption}\"", START_TIMEOUT)

    def main_window(self):
        return self.probe.inspect(VORNATIC_TITLE)

    def wait_for_main_window(self, condition, what, timeout=WINDOW_TIMEOUT):
        def check():
            window = self.main_window()
            return window if window and condition(window) else None
        return self.wait_until(check, what, timeout)

    def start_probe_window(self, geometry=(20, 20, 400, 300)):
        """Starts a probe log window and waits until it is up; returns (log, client
        rectangle in screen pixels)."""
        if not self.probe_exe.exists():
            raise AssertionError(f"{self.probe_exe} is not built")
        log = ProbeLog(self.artefacts / "probe-log.txt")
        self.note("start the probe window")
        before = now_ms()
        self.probe.start_log_window(log.path, self.artefacts / "probe-output.txt", geometry)
        self._wait_for_desktop()
        left, top, width, height = self.wait_until(log.ready, "the probe window", START_TIMEOUT)
        started = log.events()[0].t
        self.clocks_agree = before <= started <= now_ms()
        self.note(f"probe started at {started:.3f} ms; clocks agree: {self.clocks_agree}")
        return log, (left, top, left + width, top + height)

    def click_button(self, caption):
        """Clicks the centre of the main window's control that shows `caption`, found
        from Windows' own idea of where it is."""
        window = self.main_window()
        button = window.child(caption) if window else None
        if not (button and button.visible and window.visible):
            raise AssertionError(f"no visible \"{caption}\" in Vornatic's window: {window}")
        self.note(f"click \"{caption}\" at {button.centre}")
        return self.desktop.click_at(*button.centre)

"""Wine prefixes and the programs started in them.

A run makes one template prefix (new prefix, virtual desktop with a taskbar, server
stopped so everything is on disk) and every scenario works in its own copy of it:
copying takes a second or two where a new prefix takes ten.

Nothing of a prefix lies outside its folder. Wine sees a home of the prefix's own, and
the Windows profile's Desktop, Documents and the like, which Wine links to that home, are
made plain folders: a test that writes to them writes into its own prefix, never into
the home of whoever runs the tests, nor into another scenario's."""
import os
import shutil
import subprocess
import tempfile
from pathlib import Path, PureWindowsPath

# The virtual desktop, its DPI, and the fonts of Japanese and Chinese Windows: the faces
# those Windows draw their own windows in, which Vornatic asks for in those languages, and
# those Windows' message boxes and balloons fall back on, are Linux fonts of the same
# scripts here.
DESKTOP_REG = """Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\\Software\\Wine\\Explorer]
"Desktop"="Default"

[HKEY_CURRENT_USER\\Software\\Wine\\Explorer\\Desktops]
"Default"="1024x768"

[HKEY_CURRENT_USER\\Control Panel\\Desktop]
"LogPixels"=dword:{dpi:08x}

[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]
"Yu Gothic UI"="IPAGothic"
"MS UI Gothic"="IPAGothic"
"Microsoft YaHei UI"="WenQuanYi Micro Hei"
"SimSun"="WenQuanYi Micro Hei"
"""


def windows_path(path):
    """The Z: drive path Wine gives a Linux file."""
    return "Z:" + str(Path(path).resolve()).replace("/", "\\")


class WinePrefix:
    def __init__(self, path, display):
        self.path = Path(path).resolve()
        self.display = display
        self.processes = []

    @property
    def home(self):
        """The Linux home Wine is given: whatever it keeps for "the user" (the profile
        folders' links, menus, caches) stays in the prefix."""
        return self.path / "home"

    @property
    def env(self):
        env = dict(os.environ)
        home = self.home
        home.mkdir(parents=True, exist_ok=True)
        # winemenubuilder would copy a Start-menu shortcut made in the prefix into the
        # menu of whoever runs the tests.
        env.update(DISPLAY=self.display, WINEPREFIX=str(self.path), WINEDEBUG="-all", WINEARCH="win64",
                   WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d", HOME=str(home),
                   XDG_CONFIG_HOME=str(home / ".config"), XDG_DATA_HOME=str(home / ".local" / "share"),
                   XDG_CACHE_HOME=str(home / ".cache"))
        return env

    @property
    def drive_c(self):
        return self.path / "drive_c"

    def unix_path(self, windows):
        """A C: path of this prefix as a Linux path."""
        parts = PureWindowsPath(windows).parts
        if not parts or parts[0].upper() != "C:\\":
            raise ValueError(f"not a C: path: {windows}")
        return self.drive_c.joinpath(*parts[1:])

    def run(self, args, timeout=60, check=False):
        """Runs a program to its end; returns the CompletedProcess with text output."""
        result = subprocess.run(["wine", *map(str, args)], env=self.env, stdin=subprocess.DEVNULL,
                                capture_output=True, timeout=timeout)
        result.stdout = result.stdout.decode("utf-8", "replace")
        result.stderr = result.stderr.decode("utf-8", "replace")
        if check and result.returncode != 0:
            raise RuntimeError(f"wine {' '.join(map(str, args))} exited {result.returncode}: {result.stderr[-2000:]}")
        return result

    def start(self, args, output=None, cwd=None, locale=None):
        """Starts a program and leaves it running; its output goes to `output` (a path).
        `locale` (a Linux locale such as "de_DE.UTF-8") is the display language and the
        formats Wine gives that program, as Windows' settings give them a user."""
        sink = open(output, "ab") if output else subprocess.DEVNULL
        env = self.env
        if locale:
            env.update(LANG=locale, LC_ALL=locale)
        try:
            process = subprocess.Popen(["wine", *map(str, args)], env=env, stdin=subprocess.DEVNULL,
                                       stdout=sink, stderr=subprocess.STDOUT, cwd=cwd)
        finally:
            if output:
                sink.close()
        self.processes.append(process)
        return process

    def server(self, *flags, timeout=60):
        subprocess.run(["wineserver", *flags], env=self.env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=timeout)

    def shut_down(self):
        """Ends every program of this prefix (they are all ours) and waits for the server."""
        self.server("-k")
        self.server("-w")
        for process in self.processes:
            try:
                process.wait(10)
            except subprocess.TimeoutExpired:
                process.kill()
                process.wait()
        self.processes.clear()


def unlink_profile_folders(prefix):
    """Makes every folder of the Windows profiles that Wine linked to the home (Desktop,
    Documents, Downloads, ...) a plain empty folder, so that a copy of the prefix does not
    share it with the template."""
    for folder, subfolders, _ in os.walk(prefix.drive_c / "users"):
        for name in subfolders:
            link = Path(folder) / name
            if link.is_symlink():
                link.unlink()
                link.mkdir()
    # Copies of the prefix get plain folders of their own; the template's home holds nothing
    # a scenario needs.
    shutil.rmtree(prefix.home, ignore_errors=True)


# Wine draws the caption buttons with the Marlett font, and shows the letters behind its
# glyphs ("0 1 r") when a prefix has none. Debian's fonts-wine brings Wine's own, a free
# font made for this; in the prefix's Fonts folder, Wine's frames look as Windows' do.
MARLETT = Path("/usr/share/wine/fonts/marlett.ttf")


def install_caption_font(prefix):
    fonts = prefix.path / "drive_c" / "windows" / "Fonts"
    if not MARLETT.exists():
        raise RuntimeError(f"{MARLETT} is missing: install the fonts-wine package")
    fonts.mkdir(parents=True, exist_ok=True)
    shutil.copyfile(MARLETT, fonts / MARLETT.name)


def make_template(path, display, dpi=96):
    """A new prefix with the virtual desktop, its server stopped and everything written out."""
    path = Path(path)
    if path.exists():
        shutil.rmtree(path)
    path.parent.mkdir(parents=True, exist_ok=True)
    prefix = WinePrefix(path, display)
    subprocess.run(["wineboot", "-i"], env=prefix.env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL, timeout=300, check=True)
    with tempfile.NamedTemporaryFile("w", suffix=".reg", dir=path.parent, delete=False) as reg:
        reg.write(DESKTOP_REG.format(dpi=dpi))
    try:
        prefix.run(["regedit", "/S", windows_path(reg.name)], timeout=120, check=True)
    finally:
        os.unlink(reg.name)
    prefix.shut_down()
    install_caption_font(prefix)
    unlink_profile_folders(prefix)
    if "1024x768" not in (path / "user.reg").read_text(errors="replace"):
        raise RuntimeError(f"the virtual desktop setting did not reach {path / 'user.reg'}")
    return prefix


def clone(template, path, display):
    path = Path(path)
    if path.exists():
        shutil.rmtree(path)
    subprocess.run(["cp", "-a", str(template), str(path)], check=True, timeout=120)
    return WinePrefix(path, display)

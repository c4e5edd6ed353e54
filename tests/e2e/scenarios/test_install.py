"""The downloads end to end: the installer run silently puts the program, its Start-menu
shortcut and its entry among the installed apps in place; the installed program starts and
enters its own path to run at logon for this user; installing again over the running
program closes it and keeps the user's settings; the silent uninstall takes away all of
that and nothing else. Setup and the uninstaller close a copy that hears only their close
request, as one started as administrator does, and end one that does not close at all.
And the portable zip runs from a folder whose path has blanks and accents."""
import re
import shutil
import time
import zipfile
from pathlib import PureWindowsPath

from harness import paths
from harness.scenario import INSTALL_DIR, START_TIMEOUT
from scenarios.screen import cursor_file_hot_spot
from scenarios.test_autodrag import start_autodrag
from scenarios.test_startup import error_boxes, wait_for_pointer
from scenarios.test_startup_options import LOAD_AT_LOGON, MINIMIZED, wait_for_value
from scenarios.test_tray import icon_in_slot, slot_left_of

UNINSTALL_KEY = "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vornatic"
SETTINGS_KEY = "HKCU\\Software\\Kestrova\\Vornatic"
OTHER_PRODUCT_KEY = "HKCU\\Software\\Kestrova\\Another product"
MACHINE_RUN_KEY = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Run"
USER_RUN_KEY = "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Run"
RUN_VALUE = "Vornatic.exe"
ELSEWHERE = '"C:\\Tools\\Vornatic\\Vornatic.exe"'
INSTALL_TIMEOUT = 60
WINDOW_CLASS = "Vornatic.MainWindow"
REFUSED = "elevated model: refused a posted WM_CLOSE"


def project_version():
    text = (paths.REPO / "CMakeLists.txt").read_text()
    return re.search(r"project\(Vornatic VERSION (\d+\.\d+\.\d+)", text).group(1)


def package(kind):
    """The download the package step made: "setup.exe" or "portable.zip"."""
    made = paths.default_package_dir() / f"Vornatic-{project_version()}-{kind}"
    if not made.exists():
        raise AssertionError(f"{made} is not built (./dev package)")
    return made


def shipped_files():
    """Every file of the program folder as it ships, as relative Windows paths."""
    with zipfile.ZipFile(package("portable.zip")) as archive:
        return {PureWindowsPath(name) for name in archive.namelist() if not name.endswith("/")}


def registry_values(s, key):
    """{name: (type, data)} of the key's values, or None when the key is not there."""
    result = s.prefix.run(["reg", "query", key], timeout=60)
    if result.returncode != 0:
        return None
    values = {}
    for line in result.stdout.splitlines():
        fields = line.strip().split("    ")
        if len(fields) >= 3 and fields[1].startswith("REG_"):
            values[fields[0]] = (fields[1], "    ".join(fields[2:]))
    return values


def folder_of_user(s, variable):
    """A folder of this prefix's user, such as %LOCALAPPDATA%, as Windows names it."""
    return s.prefix.run(["cmd", "/c", "echo", f"%{variable}%"], check=True).stdout.strip()


def files_under(folder):
    return {PureWindowsPath(*p.relative_to(folder).parts) for p in folder.rglob("*") if p.is_file()}


def run_setup(s):
    s.note("run the installer silently")
    started = time.monotonic()
    result = s.prefix.run([package("setup.exe"), "/S"], timeout=INSTALL_TIMEOUT)
    s.note(f"the installer ended with {result.returncode} after {time.monotonic() - started:.1f} s")
    assert result.returncode == 0, f"the installer failed ({result.returncode}): {result.stderr[-1000:]}"


def start_installed(s, exe, output="vornatic-output.txt"):
    s.note(f"start {exe}")
    process = s.prefix.start([exe], output=s.artefacts / output)
    s.wait_until(s.desktop.find_desktop_origin, "the Wine desktop window", START_TIMEOUT)
    s.wait_for_main_window(lambda w: w.visible and w.shows("Start Autodrag"), "the installed Vornatic's window",
                           START_TIMEOUT)
    return process


def uninstall_silently(s, install_dir):
    """Runs the uninstall command Windows would run for a quiet removal and waits until it
    is done: the uninstaller runs on from a copy of itself, so its end is when the folder and
    the entry have gone."""
    quiet = registry_values(s, UNINSTALL_KEY)["QuietUninstallString"][1]
    command = re.fullmatch(r'"([^"]+)" /S', quiet)
    assert command, f"QuietUninstallString is not a quoted program with /S: {quiet!r}"
    started = time.monotonic()
    s.prefix.run([command.group(1), "/S"], timeout=INSTALL_TIMEOUT)
    s.wait_until(lambda: not install_dir.exists() and registry_values(s, UNINSTALL_KEY) is None,
                 "the uninstaller to remove the install folder and the uninstall entry", INSTALL_TIMEOUT)
    s.note(f"uninstalled in {time.monotonic() - started:.1f} s")


def test_install_run_upgrade_over_the_running_program_and_uninstall(s):
    local = folder_of_user(s, "LOCALAPPDATA")
    install_dir = f"{local}\\Programs\\Vornatic"
    exe = f"{install_dir}\\Vornatic.exe"
    shortcut = s.prefix.unix_path(f"{folder_of_user(s, 'APPDATA')}\\Microsoft\\Windows\\Start Menu\\Programs"
                                  "\\Vornatic.lnk")
    installed = s.prefix.unix_path(install_dir)

    run_setup(s)
    assert files_under(installed) == shipped_files() | {PureWindowsPath("Uninstall.exe")}, \
        f"installed files differ from the zip's: {sorted(map(str, files_under(installed)))}"
    assert exe.encode() in shortcut.read_bytes() or exe.encode("utf-16-le") in shortcut.read_bytes(), \
        f"the Start-menu shortcut does not start {exe}"
    entry = registry_values(s, UNINSTALL_KEY)
    expected = {
        "DisplayName": ("REG_SZ", "Vornatic"), "DisplayVersion": ("REG_SZ", project_version()),
        "Publisher": ("REG_SZ", "Kestrova"), "DisplayIcon": ("REG_SZ", f"{exe},0"),
        "InstallLocation": ("REG_SZ", install_dir),
        "UninstallString": ("REG_SZ", f'"{install_dir}\\Uninstall.exe"'),
        "QuietUninstallString": ("REG_SZ", f'"{install_dir}\\Uninstall.exe" /S'),
        "NoModify": ("REG_DWORD", "0x1"), "NoRepair": ("REG_DWORD", "0x1")}
    for name, value in expected.items():
        assert entry.get(name) == value, f"uninstall entry {name} is {entry.get(name)}, not {value}"
    kind, size = entry["EstimatedSize"]
    total_kb = sum(p.stat().st_size for p in installed.rglob("*") if p.is_file()) / 1024
    assert kind == "REG_DWORD" and abs(int(size, 16) - total_kb) <= 4, \
        f"EstimatedSize {size} KB for {total_kb:.0f} KB of files"

    process = start_installed(s, exe)
    s.click_button(LOAD_AT_LOGON)
    s.wait_for_main_window(lambda w: w.shows(MINIMIZED), f'"{MINIMIZED}" to show')
    wait_for_value(s, USER_RUN_KEY, RUN_VALUE, f'"{exe}" /logon')
    wait_for_value(s, SETTINGS_KEY, "Windows Startup", "On")
    assert RUN_VALUE not in (registry_values(s, MACHINE_RUN_KEY) or {}), "entered for every user of the machine"
    settings = registry_values(s, SETTINGS_KEY)

    # The upgrade: the installer closes the running program and waits for it to end; Wine,
    # like Windows, refuses to overwrite the executable of a running program.
    written = (installed / "Vornatic.exe").stat().st_ctime_ns
    run_setup(s)
    assert (installed / "Vornatic.exe").stat().st_ctime_ns != written, "the upgrade did not replace Vornatic.exe"
    assert s.main_window() is None, "Vornatic's window is still there after the installer ended"
    wait_until_closed(s, process, "by the upgrade")
    assert registry_values(s, SETTINGS_KEY) == settings, "the upgrade changed the user's settings"
    assert registry_values(s, USER_RUN_KEY).get(RUN_VALUE) == ("REG_SZ", f'"{exe}" /logon')
    assert files_under(installed) == shipped_files() | {PureWindowsPath("Uninstall.exe")}

    # An older version, run as administrator, entered this copy for every user too, with a
    # variable for its folder and in capitals: ours all the same, and Wine lets it go. What
    # is not ours must survive the uninstall: another product of the same maker. The
    # program runs, so the uninstaller must close it; the skin the user put beside it goes
    # with the folder.
    (installed / "x").mkdir()
    (installed / "x" / "o.cjs").write_bytes((paths.REPO / "skins" / "ocean.cjs").read_bytes())
    older = '"%LOCALAPPDATA%\\PROGRAMS\\VORNATIC\\VORNATIC.EXE"'
    s.prefix.run(["reg", "add", MACHINE_RUN_KEY, "/v", RUN_VALUE, "/t", "REG_EXPAND_SZ", "/d", older, "/f"],
                 check=True)
    s.prefix.run(["reg", "add", OTHER_PRODUCT_KEY, "/v", "Kept", "/d", "yes", "/f"], check=True)
    process = start_installed(s, exe)
    uninstall_silently(s, installed)
    wait_until_closed(s, process, "by the uninstaller")
    assert not shortcut.exists(), "the Start-menu shortcut is still there"
    assert RUN_VALUE not in (registry_values(s, USER_RUN_KEY) or {}), "the run-at-logon value is still there"
    assert RUN_VALUE not in (registry_values(s, MACHINE_RUN_KEY) or {}), \
        "the older version's run-at-logon value for every user is still there"
    assert registry_values(s, SETTINGS_KEY) is None, "the user's settings are still there"
    assert registry_values(s, OTHER_PRODUCT_KEY) == {"Kept": ("REG_SZ", "yes")}, "another product's key went"
    assert not s.prefix.unix_path(local).joinpath("Programs", "Vornatic").exists()


def test_uninstall_takes_out_this_users_run_value_and_keeps_another_copys(s):
    # The program enters itself for this user alone; the every-user entry here belongs to a
    # copy somewhere else. A copy that hangs and closes on no request is ended: unattended,
    # the uninstaller does not give up because a copy runs.
    install_dir = f"{folder_of_user(s, 'LOCALAPPDATA')}\\Programs\\Vornatic"
    run_setup(s)
    s.prefix.run(["reg", "add", USER_RUN_KEY, "/v", RUN_VALUE, "/d", f'"{install_dir}\\Vornatic.exe"', "/f"],
                 check=True)
    s.prefix.run(["reg", "add", MACHINE_RUN_KEY, "/v", RUN_VALUE, "/d", ELSEWHERE, "/f"], check=True)
    s.prefix.run(["reg", "add", SETTINGS_KEY, "/v", "Minimized", "/d", "On", "/f"], check=True)
    hung = s.prefix.start([s.probe_exe, "stubborn", WINDOW_CLASS], output=s.artefacts / "stubborn-output.txt")
    s.wait_until(s.desktop.find_desktop_origin, "the Wine desktop window", START_TIMEOUT)
    s.wait_until(lambda: s.probe.inspect_class(WINDOW_CLASS), "the hung copy's window", START_TIMEOUT)
    uninstall_silently(s, s.prefix.unix_path(install_dir))
    s.wait_until(lambda: hung.poll() is not None, "the hung copy to be ended", 10)
    assert hung.returncode == 1, f"the hung copy ended with {hung.returncode}, not as the uninstaller ends it"
    assert RUN_VALUE not in (registry_values(s, USER_RUN_KEY) or {}), "this user's run-at-logon value is still there"
    assert registry_values(s, MACHINE_RUN_KEY).get(RUN_VALUE) == ("REG_SZ", ELSEWHERE)
    # Nothing else of the maker's was there, so its key goes as well.
    assert registry_values(s, "HKCU\\Software\\Kestrova") is None, "an empty Kestrova key was left behind"


def wait_until_closed(s, process, by):
    """The copy ended on its own, as from its close box (exit code 0): Setup did not have
    to end it (which leaves exit code 1)."""
    s.wait_until(lambda: process.poll() is not None, f"the copy to be closed {by}", 10)
    assert process.returncode == 0, f"the copy was ended {by} (exit code {process.returncode}), not closed"


def show_posted_close_refused(s, output):
    """taskkill posts WM_CLOSE to the running copy, as Setup did, and the copy refuses it,
    as one started as administrator refuses it from a program of the user's level."""
    s.note("taskkill posts WM_CLOSE")
    s.prefix.run(["taskkill", "/im", "Vornatic.exe"], timeout=60)
    s.wait_until(lambda: REFUSED in output.read_text(errors="replace"), "the copy to refuse the posted WM_CLOSE")
    assert s.main_window() is not None, "the copy closed on a posted WM_CLOSE"


def test_setup_and_the_uninstaller_close_a_copy_that_hears_only_their_close_request(s):
    # The elevated model: the real program, built to drop a posted WM_CLOSE as Windows drops
    # it between integrity levels. First it runs from a folder of its own while Setup
    # installs, holding the button in the middle of a drag; the probe's own tray icon keeps
    # Wine's taskbar up to show the program's icon go.
    model = paths.default_elevated_model()
    if not model.exists():
        raise AssertionError(f"{model} is not built")
    callbacks = s.artefacts / "probe-tray.txt"
    s.probe.start_tray_icon(callbacks, s.artefacts / "probe-tray-output.txt")
    s.wait_until(lambda: callbacks.exists() and "ready" in callbacks.read_text(), "the probe's tray icon")
    log, (left, top, _, _) = s.start_probe_window()
    unpacked = s.install_vornatic()
    shutil.copyfile(model, unpacked)
    output = s.artefacts / "model-output.txt"
    process = start_installed(s, f"{INSTALL_DIR}\\Vornatic.exe", output.name)
    show_posted_close_refused(s, output)
    tray = s.wait_until(s.probe.tray_icon_centre, "the tray")
    second_slot = slot_left_of(s, tray)
    s.wait_until(lambda: icon_in_slot(s, tray) and icon_in_slot(s, second_slot), "two icons in the tray")
    start_autodrag(s)
    s.desktop.move(left + 120, top + 90)
    time.sleep(0.15)
    s.desktop.click()
    s.wait_until(lambda: s.probe.pointer()["left"], "the left button held for the person")

    run_setup(s)
    wait_until_closed(s, process, "by Setup")
    s.wait_until(lambda: not s.probe.pointer()["left"], "the left button to be up")
    s.wait_until(lambda: s.probe.tray_icon_centre() == tray and not icon_in_slot(s, second_slot),
                 "one icon, the probe's, left in the tray")

    # The installed copy, started as administrator, while Setup upgrades it and then while
    # the uninstaller removes it.
    install_dir = f"{folder_of_user(s, 'LOCALAPPDATA')}\\Programs\\Vornatic"
    installed = s.prefix.unix_path(install_dir)
    shutil.copyfile(model, installed / "Vornatic.exe")
    process = start_installed(s, f"{install_dir}\\Vornatic.exe", output.name)
    run_setup(s)
    wait_until_closed(s, process, "by the upgrade")
    assert (installed / "Vornatic.exe").read_bytes() != model.read_bytes(), "the upgrade did not replace Vornatic.exe"

    shutil.copyfile(model, installed / "Vornatic.exe")
    process = start_installed(s, f"{install_dir}\\Vornatic.exe", output.name)
    uninstall_silently(s, installed)
    wait_until_closed(s, process, "by the uninstaller")
    assert not error_boxes(s)


def test_the_portable_zip_runs_from_a_folder_with_blanks_and_accents(s):
    folder = f"{folder_of_user(s, 'USERPROFILE')}\\Desktop\\Outils à glisser\\Vornatic portable ñ"
    target = s.prefix.unix_path(folder)
    with zipfile.ZipFile(package("portable.zip")) as archive:
        archive.extractall(target)
    start_installed(s, f"{folder}\\Vornatic.exe")
    window = s.main_window()
    # The hand over a button shows that it found the cursor file beside itself.
    hand = cursor_file_hot_spot(target / "HAND-M.CUR")
    s.desktop.move(*window.child("Start Autodrag").centre)
    wait_for_pointer(s, lambda p: (p.width, p.height, p.hot_x, p.hot_y) == hand, "the hand over the button")
    assert not error_boxes(s)
    s.screenshot("portable", region=window.rect)

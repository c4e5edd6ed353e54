"""The MSI package end to end, as an administrator deploys it and as a user installs it for
themselves: msiexec /qn installs per machine into Program Files with a Start-menu shortcut
for every user and an entry among the installed apps; Vornatic starts from there; a newer
package, made here with a higher version, closes the running copy, replaces it in place and
keeps the user's settings; msiexec /x takes away every file and entry and leaves the user's
settings. MSIINSTALLPERUSER=1 ALLUSERS=2 installs into the user's own folder instead."""
import re
import shutil
import sys
import time

from harness import paths
from harness.wine import windows_path
from scenarios.test_install import (INSTALL_TIMEOUT, SETTINGS_KEY, USER_RUN_KEY, RUN_VALUE, files_under,
                                    folder_of_user, project_version, registry_values, shipped_files, start_installed,
                                    wait_until_closed)
from scenarios.test_startup_options import LOAD_AT_LOGON, MINIMIZED, wait_for_value

sys.path.insert(0, str(paths.REPO / "packaging"))
import make_msi  # noqa: E402

MACHINE_UNINSTALL = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall"
USER_UNINSTALL = "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall"
MACHINE_PRODUCTS = "HKLM\\Software\\Classes\\Installer\\Products"
USER_PRODUCTS = "HKCU\\Software\\Microsoft\\Installer\\Products"


def built_msi():
    made = paths.default_package_dir() / f"Vornatic-{project_version()}.msi"
    if not made.exists():
        raise AssertionError(f"{made} is not built (./dev package)")
    return made


def newer_msi(s):
    """The same program folder packaged again as the next patch version, as the next
    release's package would be."""
    major, minor, patch = map(int, project_version().split("."))
    version = f"{major}.{minor}.{patch + 1}"
    package = paths.default_package_dir()
    made = make_msi.make_msi(version, package / "stage" / "Vornatic", paths.WINDOWS_BUILD / "art" / "Vornatic.ico",
                             paths.WINDOWS_BUILD / "packaging" / "VornaticSetup.dll",
                             s.artefacts / f"Vornatic-{version}.msi")
    return version, made


def msiexec(s, *args):
    """Runs msiexec silently as a deployment tool does and returns the seconds it took."""
    s.note(f"msiexec {' '.join(map(str, args))}")
    started = time.monotonic()
    result = s.prefix.run(["msiexec", *args, "/qn"], timeout=INSTALL_TIMEOUT)
    took = time.monotonic() - started
    s.note(f"msiexec ended with {result.returncode} after {took:.1f} s")
    assert result.returncode == 0, f"msiexec {args} failed ({result.returncode}): {result.stderr[-1000:]}"
    return took


def product_entries(s, root):
    """{key: values} of the installed apps entries under root that are Vornatic's."""
    listing = s.prefix.run(["reg", "query", root], timeout=60).stdout
    entries = {}
    for key in re.findall(r"^(HKEY_\S.*\{[0-9A-F-]+\})\s*$", listing, re.M):
        values = registry_values(s, key)
        if values and values.get("DisplayName", ("", ""))[1] == "Vornatic":
            entries[key] = values
    return entries


def packed(code):
    """A product code as the Windows Installer names its registry keys after it."""
    digits = code.strip("{}").replace("-", "")
    swapped = "".join(digits[i + 1] + digits[i] for i in range(16, 32, 2))
    return digits[7::-1] + digits[11:7:-1] + digits[15:11:-1] + swapped


def check_icon(s, product):
    """The icon the installed apps show for a Windows Installer product, from the package,
    registered for the machine or for the user."""
    values = (registry_values(s, f"{MACHINE_PRODUCTS}\\{packed(product)}")
              or registry_values(s, f"{USER_PRODUCTS}\\{packed(product)}") or {})
    icon = values.get("ProductIcon", ("", ""))[1]
    assert icon.lower().endswith(".ico") and s.prefix.unix_path(icon).exists(), f"no product icon: {values}"


def check_entry(entry, version, install_dir):
    expected = {"DisplayName": "Vornatic", "Publisher": "Kestrova", "DisplayVersion": version,
                "InstallLocation": install_dir + "\\"}
    for name, value in expected.items():
        assert entry.get(name, ("", ""))[1] == value, f"installed apps entry {name} is {entry.get(name)}, not {value}"
    assert entry.get("NoModify", ("", ""))[1] == "0x1", "the entry offers to modify a product with nothing to choose"


def start_menu_shortcut(s, exe):
    """The Start-menu shortcut to exe: Windows puts it into every user's menu for a
    per-machine install and into the user's own for a per-user one; Wine puts it into the
    installing user's menu whatever ALLUSERS says (the Shortcut table says
    ProgramMenuFolder, test_msi_tables checks that), so either menu counts here."""
    for folder in ("ProgramData", "APPDATA"):
        shortcut = s.prefix.unix_path(f"{folder_of_user(s, folder)}\\Microsoft\\Windows\\Start Menu\\Programs"
                                      "\\Vornatic.lnk")
        if shortcut.exists():
            data = shortcut.read_bytes()
            assert exe.encode() in data or exe.encode("utf-16-le") in data, f"{shortcut} does not start {exe}"
            return shortcut
    return None


def test_msi_per_machine_install_upgrade_over_the_running_program_and_removal(s):
    install_dir = f"{folder_of_user(s, 'ProgramFiles')}\\Vornatic"
    exe = f"{install_dir}\\Vornatic.exe"
    installed = s.prefix.unix_path(install_dir)
    took = msiexec(s, "/i", windows_path(built_msi()))
    s.note(f"measured: per-machine install {took:.1f} s")

    assert files_under(installed) == shipped_files(), \
        f"installed files differ from the zip's: {sorted(map(str, files_under(installed)))}"
    shortcut = start_menu_shortcut(s, exe)
    assert shortcut, f"no Start-menu shortcut to {exe}"
    entries = product_entries(s, MACHINE_UNINSTALL)
    assert len(entries) == 1, f"{len(entries)} installed apps entries for every user: {list(entries)}"
    check_entry(next(iter(entries.values())), project_version(), install_dir)
    first_product = next(iter(entries))
    check_icon(s, first_product.rsplit("\\", 1)[1])

    # The user runs the installed program with choices of their own.
    for name, data in (("Latch", "600"), ("Indicator", "Off")):
        s.prefix.run(["reg", "add", SETTINGS_KEY, "/v", name, "/d", data, "/f"], check=True)
    process = start_installed(s, exe)
    settings = registry_values(s, SETTINGS_KEY)

    # The administrator deploys the next version while the program runs.
    version, newer = newer_msi(s)
    written = (installed / "Vornatic.exe").stat().st_ctime_ns
    msiexec(s, "/i", windows_path(newer))
    wait_until_closed(s, process, "by the upgrade")
    assert (installed / "Vornatic.exe").stat().st_ctime_ns != written, "the upgrade did not replace Vornatic.exe"
    assert files_under(installed) == shipped_files()
    entries = product_entries(s, MACHINE_UNINSTALL)
    assert list(entries) != [first_product] and len(entries) == 1, f"not replaced in place: {list(entries)}"
    check_entry(next(iter(entries.values())), version, install_dir)
    assert registry_values(s, SETTINGS_KEY) == settings, "the upgrade changed the user's settings"

    # The newer version starts at logon. (An upgrade keeps that entry on Windows, which tells
    # the older package's removal that it is part of an upgrade; Wine does not, so the entry
    # is made after the upgrade here.)
    process = start_installed(s, exe)
    s.click_button(LOAD_AT_LOGON)
    s.wait_for_main_window(lambda w: w.shows(MINIMIZED), f'"{MINIMIZED}" to show')
    wait_for_value(s, USER_RUN_KEY, RUN_VALUE, f'"{exe}" /logon')
    settings = registry_values(s, SETTINGS_KEY)

    # An administrator put a skin beside the program; the program runs while it is removed.
    (installed / "x").mkdir()
    (installed / "x" / "o.cjs").write_bytes((paths.REPO / "skins" / "ocean.cjs").read_bytes())
    took = msiexec(s, "/x", windows_path(newer))
    s.note(f"measured: per-machine uninstall {took:.1f} s")
    wait_until_closed(s, process, "by the removal")
    assert not installed.exists(), f"left in Program Files: {sorted(map(str, files_under(installed)))}"
    assert not shortcut.exists(), "the Start-menu shortcut is still there"
    assert product_entries(s, MACHINE_UNINSTALL) == {}, "the installed apps entry is still there"
    assert RUN_VALUE not in (registry_values(s, USER_RUN_KEY) or {}), \
        "the run-at-logon entry of the removed copy stayed"
    assert registry_values(s, SETTINGS_KEY) == settings, "the removal took the user's own settings"
    assert registry_values(s, "HKLM\\Software\\Kestrova") is None, "the package left a key for every user"


def test_msi_per_user_install_and_removal(s):
    install_dir = f"{folder_of_user(s, 'LOCALAPPDATA')}\\Programs\\Vornatic"
    exe = f"{install_dir}\\Vornatic.exe"
    installed = s.prefix.unix_path(install_dir)
    msi = windows_path(built_msi())
    msiexec(s, "/i", msi, "MSIINSTALLPERUSER=1", "ALLUSERS=2")
    assert files_under(installed) == shipped_files(), \
        f"installed files differ from the zip's: {sorted(map(str, files_under(installed)))}"
    assert not s.prefix.unix_path(f"{folder_of_user(s, 'ProgramFiles')}\\Vornatic").exists(), \
        "a per-user install wrote into Program Files"
    shortcut = start_menu_shortcut(s, exe)
    assert shortcut, f"no Start-menu shortcut to {exe}"
    # Wine registers the product for the machine all the same: it makes ALLUSERS=2 a 1 and
    # knows no MSIINSTALLPERUSER. Windows registers it for the user.
    entries = {**product_entries(s, USER_UNINSTALL), **product_entries(s, MACHINE_UNINSTALL)}
    assert len(entries) == 1, f"{len(entries)} installed apps entries: {list(entries)}"
    check_entry(next(iter(entries.values())), project_version(), install_dir)
    check_icon(s, next(iter(entries)).rsplit("\\", 1)[1])

    # The copy that runs while it is removed was started as administrator: it closes only on
    # the package's close request (the elevated model drops a posted WM_CLOSE, as Windows
    # drops one sent up from a lower integrity level), and ending it would give exit code 1.
    shutil.copyfile(paths.default_elevated_model(), installed / "Vornatic.exe")
    process = start_installed(s, exe, "model-output.txt")
    msiexec(s, "/x", msi)
    wait_until_closed(s, process, "by the removal")
    assert not installed.exists(), f"left behind: {sorted(map(str, files_under(installed)))}"
    assert not shortcut.exists(), "the Start-menu shortcut is still there"
    assert {**product_entries(s, USER_UNINSTALL), **product_entries(s, MACHINE_UNINSTALL)} == {}

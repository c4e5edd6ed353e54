#!/usr/bin/env python3
"""The MSI package and the winget manifests as ./dev package made them, read back with
msitools: the package holds the zip's files at the zip's paths, the executable's version,
the upgrade code every version shares, a plain Start-menu shortcut, what the installed apps
show, and custom actions where an upgrade and a removal need them; the manifests carry
every field the schema requires and the SHA-256 and codes of the files beside them, and
SHA256SUMS the SHA-256 of every download.

    test_msi_and_winget.py --package DIR --version 1.2.3 --objdump PATH"""
import argparse
import hashlib
import json
import re
import subprocess
import sys
import tempfile
import unittest
import zipfile
from pathlib import Path, PurePosixPath

sys.dont_write_bytecode = True  # keep the source tree free of __pycache__
REPO = Path(__file__).resolve().parents[2]
sys.path.insert(0, str(REPO / "packaging"))

import make_msi  # noqa: E402
import release_exe  # noqa: E402

ARGS = None
UPGRADE_CODE = "{7C93EE9E-FD10-4A26-8E74-8057BC4814D7}"
# What each kind of manifest must hold, by the manifest schema (1.10.0).
REQUIRED = {
    "version": {"PackageIdentifier", "PackageVersion", "DefaultLocale", "ManifestType", "ManifestVersion"},
    "defaultLocale": {"PackageIdentifier", "PackageVersion", "PackageLocale", "Publisher", "PackageName", "License",
                      "ShortDescription", "ManifestType", "ManifestVersion"},
    "installer": {"PackageIdentifier", "PackageVersion", "Installers", "ManifestType", "ManifestVersion"},
}
REQUIRED_PER_INSTALLER = {"Architecture", "InstallerType", "InstallerUrl", "InstallerSha256"}


def table(msi, name):
    """The rows of one table as dicts by column name. (msiinfo writes the streams of a table
    such as Binary into files below the folder it runs in: a scratch folder here.)"""
    with tempfile.TemporaryDirectory() as scratch:
        lines = subprocess.run(["msiinfo", "export", str(Path(msi).resolve()), name], check=True,
                               capture_output=True, text=True, cwd=scratch).stdout.splitlines()
    columns = lines[0].split("\t")
    return [dict(zip(columns, line.split("\t"))) for line in lines[3:] if line]


def properties(msi):
    return {row["Property"]: row["Value"] for row in table(msi, "Property")}


def installed_paths(msi):
    """Each file's path below INSTALLDIR, as the Directory and Component tables place it."""
    directories = {row["Directory"]: row for row in table(msi, "Directory")}
    components = {row["Component"]: row["Directory_"] for row in table(msi, "Component")}

    def below_installdir(directory):
        parts = []
        while directory != "INSTALLDIR":
            parts.insert(0, directories[directory]["DefaultDir"].split("|")[-1])
            directory = directories[directory]["Directory_Parent"]
        return parts

    return {PurePosixPath(*below_installdir(components[row["Component_"]]), row["FileName"].split("|")[-1])
            for row in table(msi, "File")}


def read_yaml(text):
    """The block YAML make_winget.py writes (maps, lists of maps and of texts, every text
    quoted as JSON); anything else is refused."""
    lines = [line for line in text.splitlines() if line.strip() and not line.lstrip().startswith("#")]

    def block(at, indent):
        result = {}
        while at < len(lines) and len(lines[at]) - len(lines[at].lstrip()) == indent and \
                not lines[at].lstrip().startswith("- "):
            key, _, rest = lines[at].strip().partition(":")
            at += 1
            if rest.strip():
                result[key] = json.loads(rest.strip())
            elif at < len(lines) and lines[at].lstrip().startswith("- "):
                result[key], at = sequence(at, len(lines[at]) - len(lines[at].lstrip()))
            else:
                result[key], at = block(at, indent + 2)
        return result, at

    def sequence(at, indent):
        items = []
        while at < len(lines) and lines[at].startswith(" " * indent + "- "):
            item = lines[at][indent + 2:]
            if re.match(r'^[A-Za-z0-9]+:', item):
                lines[at] = " " * (indent + 2) + item
                value, at = block(at, indent + 2)
            else:
                value, at = json.loads(item), at + 1
            items.append(value)
        return items, at

    value, at = block(0, 0)
    if at != len(lines):
        raise ValueError(f"not read: {lines[at]!r}")
    return value


class MsiPackage(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.msi = ARGS.package / f"Vornatic-{ARGS.version}.msi"
        cls.properties = properties(cls.msi)

    def test_holds_the_zips_files_at_the_zips_paths(self):
        with zipfile.ZipFile(ARGS.package / f"Vornatic-{ARGS.version}-portable.zip") as archive:
            zipped = {PurePosixPath(name) for name in archive.namelist() if not name.endswith("/")}
        self.assertEqual(installed_paths(self.msi), zipped)

    def test_product_is_the_executables_version_by_its_maker_with_the_shared_upgrade_code(self):
        exe = ARGS.package / "stage" / "Vornatic" / "Vornatic.exe"
        file_version, _ = release_exe.version_resource(exe.read_bytes())
        expected = {"ProductName": "Vornatic", "Manufacturer": "Kestrova", "ProductVersion": ARGS.version,
                    "UpgradeCode": UPGRADE_CODE, "ALLUSERS": "1", "ARPNOMODIFY": "1"}
        self.assertEqual({name: self.properties.get(name) for name in expected}, expected)
        self.assertEqual(file_version, ARGS.version + ".0")
        icons = {row["Name"] for row in table(self.msi, "Icon")}
        self.assertIn(self.properties["ARPPRODUCTICON"], icons)

    def test_a_newer_build_keeps_the_upgrade_code_and_component_codes_and_replaces_older_ones(self):
        major, minor, patch = map(int, ARGS.version.split("."))
        newer_version = f"{major}.{minor}.{patch + 1}"
        with tempfile.TemporaryDirectory() as folder:
            newer = make_msi.make_msi(newer_version, ARGS.package / "stage" / "Vornatic",
                                      ARGS.art / "Vornatic.ico", ARGS.actions, Path(folder) / "newer.msi")
            newer_properties = properties(newer)
            self.assertEqual(newer_properties["UpgradeCode"], UPGRADE_CODE)
            self.assertNotEqual(newer_properties["ProductCode"], self.properties["ProductCode"])
            self.assertEqual(table(newer, "Component"), table(self.msi, "Component"))
            replaced = [row for row in table(newer, "Upgrade") if row["ActionProperty"] == "WIX_UPGRADE_DETECTED"]
        self.assertEqual([(r["UpgradeCode"], r["VersionMax"], r["Attributes"]) for r in replaced],
                         [(UPGRADE_CODE, newer_version, "1")])

    def test_one_plain_start_menu_shortcut_to_the_executable(self):
        shortcuts = table(self.msi, "Shortcut")
        self.assertEqual([(s["Directory_"], s["Name"], s["Target"], s["Component_"]) for s in shortcuts],
                         [("ProgramMenuFolder", "Vornatic", "[#VornaticExe]", "Executable")])

    def test_custom_actions_close_the_program_first_and_clean_up_only_on_a_real_removal(self):
        sequence = {row["Action"]: row for row in table(self.msi, "InstallExecuteSequence")}
        number = {action: int(row["Sequence"]) for action, row in sequence.items()}
        self.assertLess(number["CloseVornatic"], min(number["InstallValidate"], number["RemoveExistingProducts"]))
        self.assertLess(number["CostFinalize"], number["RemoveLeftovers"])
        self.assertLess(number["RemoveLeftovers"], number["RemoveFiles"])
        self.assertEqual(sequence["RemoveLeftovers"]["Condition"], 'REMOVE~="ALL" AND NOT UPGRADINGPRODUCTCODE')
        self.assertLess(number["FindInstallFolder"], number["PerUserFolder"])
        self.assertLess(number["PerUserFolder"], number["CostFinalize"])
        exports = subprocess.run([ARGS.objdump, "-p", str(ARGS.actions)], check=True, capture_output=True,
                                 text=True).stdout
        for action in table(self.msi, "CustomAction"):
            if action["Source"] == "SetupActions":
                self.assertRegex(exports, rf"\] {action['Target']}\n")
        self.assertEqual([row["Name"] for row in table(self.msi, "Binary")], ["SetupActions"])

    def test_installs_without_elevation_where_asked_and_makes_nothing_writable(self):
        summary = subprocess.run(["msiinfo", "suminfo", str(self.msi)], check=True, capture_output=True,
                                 text=True).stdout
        self.assertTrue(int(re.search(r"^Source: (\d+)", summary, re.M).group(1)) & 8, summary)
        self.assertEqual(table(self.msi, "CreateFolder"), [])
        tables = subprocess.run(["msiinfo", "tables", str(self.msi)], check=True, capture_output=True,
                                text=True).stdout.split()
        self.assertFalse({"LockPermissions", "MsiLockPermissionsEx"} & set(tables))


class WingetManifests(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.manifests = {path.name: read_yaml(path.read_text(encoding="utf-8"))
                         for path in (ARGS.package / "winget").glob("*.yaml")}
        cls.by_type = {m["ManifestType"]: m for m in cls.manifests.values()}

    def test_the_three_files_hold_every_required_field_of_one_package_version(self):
        self.assertEqual(set(self.by_type), set(REQUIRED))
        for kind, manifest in self.by_type.items():
            self.assertLessEqual(REQUIRED[kind], set(manifest), kind)
            self.assertEqual((manifest["PackageIdentifier"], manifest["PackageVersion"]),
                             ("Kestrova.Vornatic", ARGS.version))
            self.assertGreaterEqual(tuple(map(int, manifest["ManifestVersion"].split("."))), (1, 6, 0))
        self.assertEqual(self.by_type["version"]["DefaultLocale"], self.by_type["defaultLocale"]["PackageLocale"])

    def test_each_installer_names_a_built_file_with_its_sha256_scope_and_codes(self):
        msi_properties = properties(ARGS.package / f"Vornatic-{ARGS.version}.msi")
        seen = set()
        for installer in self.by_type["installer"]["Installers"]:
            self.assertLessEqual(REQUIRED_PER_INSTALLER, set(installer))
            built = ARGS.package / installer["InstallerUrl"].rsplit("/", 1)[1]
            self.assertEqual(installer["InstallerSha256"], hashlib.sha256(built.read_bytes()).hexdigest().upper())
            seen.add((installer["InstallerType"], installer["Scope"], built.name))
            if installer["InstallerType"] == "msi":
                self.assertEqual(installer["ProductCode"], msi_properties["ProductCode"])
                self.assertEqual(installer["AppsAndFeaturesEntries"][0]["UpgradeCode"], UPGRADE_CODE)
            else:
                self.assertEqual(installer["InstallerSwitches"]["Silent"], "/S")
        msi, setup = f"Vornatic-{ARGS.version}.msi", f"Vornatic-{ARGS.version}-setup.exe"
        self.assertEqual(seen, {("msi", "machine", msi), ("msi", "user", msi), ("nullsoft", "user", setup)})


class Checksums(unittest.TestCase):
    def test_sha256sums_lists_every_download_and_sha256sum_agrees(self):
        sums = (ARGS.package / "SHA256SUMS").read_text(encoding="ascii").splitlines()
        listed = {line.split("  ", 1)[1] for line in sums}
        self.assertEqual(listed, {path.name for path in ARGS.package.glob(f"Vornatic-{ARGS.version}*")})
        self.assertEqual(len(listed), 4)
        check = subprocess.run(["sha256sum", "--check", "--strict", "SHA256SUMS"], cwd=ARGS.package,
                               capture_output=True, text=True)
        self.assertEqual(check.returncode, 0, check.stdout + check.stderr)


def main():
    global ARGS
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--package", type=Path, required=True, help="where ./dev package left its files")
    parser.add_argument("--version", required=True)
    parser.add_argument("--art", type=Path, required=True, help="the folder with Vornatic.ico")
    parser.add_argument("--actions", type=Path, required=True, help="VornaticSetup.dll")
    parser.add_argument("--objdump", required=True)
    ARGS, rest = parser.parse_known_args()
    program = unittest.main(argv=[sys.argv[0], "-v", *rest], exit=False)
    return 0 if program.result.wasSuccessful() else 1


if __name__ == "__main__":
    sys.exit(main())

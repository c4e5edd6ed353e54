#!/usr/bin/env python3
"""Writes the winget manifests of a release (the version, default-locale and installer
files of the current manifest schema) for the MSI package and the per-user setup, with
their SHA-256 and the MSI's product and upgrade codes read from the built files.

    make_winget.py --version 1.2.3 --msi FILE --setup FILE --download-url URL --out DIR [--msiinfo PATH]
"""
import argparse
import hashlib
import json
import subprocess
import sys
from pathlib import Path

IDENTIFIER = "Kestrova.Vornatic"
MANIFEST_VERSION = "1.10.0"
LOCALE = "en-US"
# The per-user setup's entry among the installed apps (packaging/Vornatic.nsi).
SETUP_UNINSTALL_KEY = "Vornatic"


def sha256(path):
    return hashlib.sha256(path.read_bytes()).hexdigest().upper()


def msi_properties(msi, msiinfo="msiinfo"):
    """The Property table of an MSI package: {name: value}."""
    exported = subprocess.run([msiinfo, "export", str(msi), "Property"], check=True, capture_output=True,
                              text=True).stdout
    rows = [line.split("\t", 1) for line in exported.splitlines()[3:] if "\t" in line]
    return {name: value.rstrip("\r") for name, value in rows}


def to_yaml(value, indent=""):
    """Block YAML for dicts, lists and text; every text quoted as JSON, which YAML reads as
    it stands."""
    lines = []
    for key, item in value.items():
        if isinstance(item, dict):
            lines += [f"{indent}{key}:", *to_yaml(item, indent + "  ")]
        elif isinstance(item, list):
            lines.append(f"{indent}{key}:")
            for element in item:
                if isinstance(element, dict):
                    inner = to_yaml(element, indent + "  ")
                    lines += [f"{indent}- {inner[0].lstrip()}", *inner[1:]]
                else:
                    lines.append(f"{indent}- {json.dumps(element)}")
        else:
            lines.append(f"{indent}{key}: {json.dumps(item)}")
    return lines


def manifests(version, msi, setup, download_url, msiinfo="msiinfo"):
    """{file name: manifest} of the three files."""
    properties = msi_properties(msi, msiinfo)
    base = f"{download_url.rstrip('/')}/{version}"
    common = {"PackageIdentifier": IDENTIFIER, "PackageVersion": version}

    def msi_installer(scope, switches, **elevation):
        return {"Architecture": "x64", "InstallerType": "msi", "Scope": scope,
                "InstallerUrl": f"{base}/{msi.name}", "InstallerSha256": sha256(msi),
                "InstallerSwitches": {"Custom": switches}, **elevation,
                "ProductCode": properties["ProductCode"],
                "AppsAndFeaturesEntries": [{"DisplayName": "Vornatic", "Publisher": properties["Manufacturer"],
                                            "DisplayVersion": version, "ProductCode": properties["ProductCode"],
                                            "UpgradeCode": properties["UpgradeCode"]}]}

    installer = {
        **common,
        "MinimumOSVersion": "10.0.0.0",
        "InstallModes": ["silent", "silentWithProgress"],
        "UpgradeBehavior": "install",
        "Installers": [
            # The package asks for no elevation itself (it may install for the user alone),
            # so winget must run the per-machine install as an administrator.
            msi_installer("machine", "ALLUSERS=1", ElevationRequirement="elevationRequired"),
            msi_installer("user", "MSIINSTALLPERUSER=1 ALLUSERS=2"),
            {"Architecture": "x64", "InstallerType": "nullsoft", "Scope": "user",
             "InstallerUrl": f"{base}/{setup.name}", "InstallerSha256": sha256(setup),
             "InstallerSwitches": {"Silent": "/S", "SilentWithProgress": "/S"},
             "ProductCode": SETUP_UNINSTALL_KEY},
        ],
        "ManifestType": "installer", "ManifestVersion": MANIFEST_VERSION}
    locale = {
        **common, "PackageLocale": LOCALE, "Publisher": "Kestrova", "PublisherUrl": "https://www.kestrova.example/",
        "PublisherSupportUrl": "https://www.kestrova.example/contact/", "PackageName": "Vornatic",
        "PackageUrl": "https://www.kestrova.example/", "License": "Proprietary",
        "Copyright": "Copyright (C) Kestrova",
        "ShortDescription": "Drag with the mouse without holding the button down.",
        "Description": "Vornatic holds the mouse button for you: click what you want to move, move the mouse, "
                       "and click again to drop it. A press held still can latch the button too.",
        "Tags": ["accessibility", "mouse", "drag", "motor-impairment"],
        "ManifestType": "defaultLocale", "ManifestVersion": MANIFEST_VERSION}
    version_manifest = {**common, "DefaultLocale": LOCALE, "ManifestType": "version",
                        "ManifestVersion": MANIFEST_VERSION}
    return {f"{IDENTIFIER}.yaml": version_manifest, f"{IDENTIFIER}.installer.yaml": installer,
            f"{IDENTIFIER}.locale.{LOCALE}.yaml": locale}


def write_manifests(version, msi, setup, download_url, out, msiinfo="msiinfo"):
    out.mkdir(parents=True, exist_ok=True)
    for old in out.glob("*.yaml"):
        old.unlink()
    written = []
    for name, manifest in manifests(version, msi, setup, download_url, msiinfo).items():
        header = (f"# yaml-language-server: $schema=https://aka.ms/winget-manifest.{manifest['ManifestType']}."
                  f"{MANIFEST_VERSION}.schema.json")
        (out / name).write_text("\n".join([header, "", *to_yaml(manifest), ""]), encoding="utf-8")
        written.append(out / name)
    return written


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--version", required=True)
    parser.add_argument("--msi", type=Path, required=True)
    parser.add_argument("--setup", type=Path, required=True)
    parser.add_argument("--download-url", required=True)
    parser.add_argument("--out", type=Path, required=True)
    parser.add_argument("--msiinfo", default="msiinfo")
    args = parser.parse_args()
    write_manifests(args.version, args.msi, args.setup, args.download_url, args.out, args.msiinfo)
    return 0


if __name__ == "__main__":
    sys.exit(main())

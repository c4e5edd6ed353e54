#!/usr/bin/env python3
"""Makes Vornatic's MSI package with wixl from the program folder as it ships: Vornatic.wxs
holds the product, its upgrade code, shortcut and custom actions; the files beside the
executable are listed here from the folder itself, so the package holds exactly what the
zip holds.

    make_msi.py --version 1.2.3 --stage DIR --icon ICO --actions DLL --out FILE.msi [--wixl PATH] [--epoch SECONDS]

make_package.py calls it for each release; the install scenarios call it again with a
higher version to show an upgrade. The product code follows from the version, and with
--epoch the package's times and package code follow from the commit and the content
(msi_summary.py), so that the same commit makes the same package."""
import argparse
import hashlib
import os
import re
import shutil
import subprocess
import sys
import uuid
from pathlib import Path
from xml.sax.saxutils import quoteattr

sys.dont_write_bytecode = True  # keep the source tree free of __pycache__
HERE = Path(__file__).resolve().parent
sys.path.insert(0, str(HERE))
import msi_summary  # noqa: E402

EXECUTABLE = "Vornatic.exe"  # Vornatic.wxs holds its component, with the shortcut


def identifier(prefix, relative):
    """An MSI identifier for a path: letters, digits, dots and underscores, at most 72
    characters, the same for the same path in every build."""
    digest = hashlib.sha1(relative.as_posix().lower().encode("utf-8")).hexdigest()[:16]
    return f"{prefix}_{digest}"


def files_fragment(stage, source):
    """files.wxs: one component per file (its key path), in a directory tree below
    INSTALLDIR, and the group Vornatic.wxs puts into its feature. `source` is the stage
    folder as wixl finds it."""
    files = [f for f in sorted(p.relative_to(stage) for p in stage.rglob("*") if p.is_file())
             if f != Path(EXECUTABLE)]
    folders = sorted({parent for f in files for parent in f.parents if parent != Path(".")})
    components = []

    def tree(folder, indent):
        lines = []
        for path in (f for f in files if f.parent == folder):
            component = identifier("c", path)
            components.append(component)
            lines += [f'{indent}<Component Id="{component}" Guid="*">',
                      f'{indent}  <File Id="{identifier("f", path)}" Name={quoteattr(path.name)} '
                      f'Source={quoteattr(str(source / path))} KeyPath="yes" />',
                      f"{indent}</Component>"]
        for sub in (d for d in folders if d.parent == folder):
            lines.append(f'{indent}<Directory Id="{identifier("d", sub)}" Name={quoteattr(sub.name)}>')
            lines += tree(sub, indent + "  ")
            lines.append(f"{indent}</Directory>")
        return lines

    body = tree(Path("."), "      ")
    group = [f'      <ComponentRef Id="{c}" />' for c in components]
    return "\n".join(['<?xml version="1.0" encoding="utf-8"?>',
                      '<Wix xmlns="http://schemas.microsoft.com/wix/2006/wi">',
                      "  <Fragment>", '    <DirectoryRef Id="INSTALLDIR">', *body, "    </DirectoryRef>",
                      '    <ComponentGroup Id="ShippedFiles">', *group, "    </ComponentGroup>",
                      "  </Fragment>", "</Wix>", ""])


def product_code(version):
    """One product code per version, named from the upgrade code: a newer version is a new
    product that replaces the old one; a rebuild of the same version is the same product."""
    upgrade = re.search(r'UpgradeCode="([^"]+)"', (HERE / "Vornatic.wxs").read_text(encoding="utf-8")).group(1)
    return str(uuid.uuid5(uuid.UUID(upgrade), f"Vornatic {version} x64")).upper()


def make_msi(version, stage, icon, actions, out, wixl="wixl", epoch=None):
    if not shutil.which(wixl):
        raise SystemExit(f"msi: no wixl at {wixl!r}: install Debian's wixl (./dev installs it)")
    # wixl finds sources only by paths relative to the folder it runs in.
    work = out.parent.resolve()

    def relative(path):
        return os.path.relpath(path.resolve(), work)

    fragment = work / (out.stem + "-files.wxs")
    fragment.write_text(files_fragment(stage, Path(relative(stage))), encoding="utf-8")
    subprocess.run([wixl, "--arch", "x64", "-D", f"Version={version}", "-D", f"ProductCode={product_code(version)}",
                    "-D", f"Stage={relative(stage)}",
                    "-D", f"Icon={relative(icon)}", "-D", f"Actions={relative(actions)}", "-o", out.name,
                    str(HERE / "Vornatic.wxs"), fragment.name], check=True, cwd=work)
    fragment.unlink()
    if epoch is not None:
        msi_summary.settle(out, epoch)
    return out


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--version", required=True)
    parser.add_argument("--stage", type=Path, required=True, help="the program folder as it ships")
    parser.add_argument("--icon", type=Path, required=True)
    parser.add_argument("--actions", type=Path, required=True, help="VornaticSetup.dll")
    parser.add_argument("--out", type=Path, required=True)
    parser.add_argument("--wixl", default="wixl")
    parser.add_argument("--epoch", type=int, help="the commit's time, seconds since 1970")
    args = parser.parse_args()
    make_msi(args.version, args.stage, args.icon, args.actions, args.out, args.wixl, args.epoch)
    return 0


if __name__ == "__main__":
    sys.exit(main())

#!/usr/bin/env python3
"""Makes Vornatic's MSI package with wixl from the program folder as it ships: Vornatic.wxs
holds the product, its upgrade code, shortcut and custom actions; the files beside the
executable are listed here from the folder itself, so the package holds exactly what the
zip holds.

    make_msi.py --version 1.2.3 --stage DIR --icon ICO --actions DLL --out FILE.msi [--wixl PATH]

make_package.py calls it for each release; the install scenarios call it again with a
higher version to show an upgrade."""
import argparse
import hashlib
import os
import shutil
import subprocess
import sys
from pathlib import Path
from xml.sax.saxutils import quoteattr

HERE = Path(__file__).resolve().parent
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


def make_msi(version, stage, icon, actions, out, wixl="wixl"):
    if not shutil.which(wixl):
        raise SystemExit(f"msi: no wixl at {wixl!r}: install Debian's wixl (./dev installs it)")
    # wixl finds sources only by paths relative to the folder it runs in.
    work = out.parent.resolve()

    def relative(path):
        return os.path.relpath(path.resolve(), work)

    fragment = work / (out.stem + "-files.wxs")
    fragment.write_text(files_fragment(stage, Path(relative(stage))), encoding="utf-8")
    subprocess.run([wixl, "--arch", "x64", "-D", f"Version={version}", "-D", f"Stage={relative(stage)}",
                    "-D", f"Icon={relative(icon)}", "-D", f"Actions={relative(actions)}", "-o", out.name,
                    str(HERE / "Vornatic.wxs"), fragment.name], check=True, cwd=work)
    fragment.unlink()
    return out


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--version", required=True)
    parser.add_argument("--stage", type=Path, required=True, help="the program folder as it ships")
    parser.add_argument("--icon", type=Path, required=True)
    parser.add_argument("--actions", type=Path, required=True, help="VornaticSetup.dll")
    parser.add_argument("--out", type=Path, required=True)
    parser.add_argument("--wixl", default="wixl")
    args = parser.parse_args()
    make_msi(args.version, args.stage, args.icon, args.actions, args.out, args.wixl)
    return 0


if __name__ == "__main__":
    sys.exit(main())

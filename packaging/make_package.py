#!/usr/bin/env python3
"""Makes Vornatic's downloads from the built program folder: a portable zip that runs
wherever it is unpacked, a per-user installer made with NSIS, and an MSI package made with
wixl for administrators; the winget manifests of the two installers, and SHA256SUMS of
every download. The executable is checked first (release_exe.py): nothing is packaged that
should not ship.

Where VORNATIC_SIGN_PFX names a certificate (signing.py), the executable is signed before
it goes into any download, and so are the installer, its uninstaller, the MSI's custom
actions and the MSI package; the manifests and SHA256SUMS carry the hashes of the files as
signed. Every file is dated with --epoch, the commit's time, so that the same commit makes
the same bytes.

    make_package.py --version 1.2.3 --epoch SECONDS --dist DIR --art DIR --languages NSH --actions DLL
                    --policies ZIP --download-url URL --out DIR --makensis PATH --wixl PATH --objdump PATH
                    [--osslsigncode PATH]

Leaves Vornatic-<version>-portable.zip, Vornatic-<version>-setup.exe, Vornatic-<version>.msi,
Vornatic-<version>-policies.zip, SHA256SUMS and winget/ in --out."""
import argparse
import hashlib
import os
import shutil
import subprocess
import sys
from pathlib import Path

sys.dont_write_bytecode = True  # keep the source tree free of __pycache__
HERE = Path(__file__).resolve().parent
sys.path.insert(0, str(HERE))

import dated_zip  # noqa: E402
import make_msi  # noqa: E402
import make_winget  # noqa: E402
import release_exe  # noqa: E402
import signing  # noqa: E402


def stage(dist, folder, version):
    """The program folder as it ships: what the build put beside the executable, and the
    users' README in Windows line ends so that Notepad shows its lines."""
    if folder.exists():
        shutil.rmtree(folder)
    shutil.copytree(dist, folder)
    readme = (HERE / "README.txt").read_text(encoding="utf-8").replace("{version}", version)
    (folder / "README.txt").write_bytes(readme.replace("\n", "\r\n").encode("utf-8"))


def date(paths, epoch):
    """The installer and the MSI's cabinet keep each file's time: the commit's, not the build's."""
    for path in paths:
        os.utime(path, (epoch, epoch), follow_symlinks=False)


def shipped_files(folder):
    return sorted(p.relative_to(folder) for p in folder.rglob("*") if p.is_file())


def write_zip(folder, zip_path, epoch):
    dated_zip.write(zip_path, [(relative.as_posix(), (folder / relative).read_bytes())
                               for relative in shipped_files(folder)], epoch)


def write_sums(files, sums_path):
    """SHA256SUMS as sha256sum writes it, which `sha256sum -c` and a reader with certutil check."""
    lines = [f"{hashlib.sha256(path.read_bytes()).hexdigest()}  {path.name}\n" for path in files]
    sums_path.write_text("".join(lines), encoding="ascii", newline="\n")


def nsis_lists(folder, nsh_path):
    """The installer's and the uninstaller's file lists from one source, so that the
    uninstaller deletes exactly what the installer put there."""
    files = shipped_files(folder)
    folders = sorted({f.parent for f in files if f.parent != Path(".")}, key=lambda p: len(p.parts), reverse=True)

    def windows(relative):
        return str(relative).replace("/", "\\").replace("$", "$$")

    lines = ["!macro INSTALL_FILES"]
    for parent in sorted({f.parent for f in files}):
        target = "$INSTDIR" if parent == Path(".") else f"$INSTDIR\\{windows(parent)}"
        lines.append(f'  SetOutPath "{target}"')
        lines += [f'  File "{folder / f}"' for f in files if f.parent == parent]
    lines += ['  SetOutPath "$INSTDIR"', "!macroend", "", "!macro UNINSTALL_FILES"]
    lines += [f'  Delete "$INSTDIR\\{windows(f)}"' for f in files]
    lines += [f'  RMDir "$INSTDIR\\{windows(d)}"' for d in folders]
    lines.append("!macroend")
    nsh_path.write_text("\n".join(lines) + "\n", encoding="utf-8")


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--version", required=True)
    parser.add_argument("--epoch", type=int, required=True, help="the commit's time, seconds since 1970")
    parser.add_argument("--dist", type=Path, required=True, help="the built program folder")
    parser.add_argument("--art", type=Path, required=True, help="the folder with Vornatic.ico")
    parser.add_argument("--languages", type=Path, required=True,
                        help="the installer's languages and texts, made from the catalogue")
    parser.add_argument("--actions", type=Path, required=True, help="the MSI's custom actions, VornaticSetup.dll")
    parser.add_argument("--policies", type=Path, required=True, help="the Group Policy templates' zip")
    parser.add_argument("--download-url", required=True, help="where the releases' downloads are published")
    parser.add_argument("--out", type=Path, required=True)
    parser.add_argument("--makensis", required=True)
    parser.add_argument("--wixl", required=True)
    parser.add_argument("--objdump", required=True)
    parser.add_argument("--osslsigncode", default="osslsigncode")
    args = parser.parse_args()

    exe = args.dist / "Vornatic.exe"
    wrong = release_exe.problems(exe, args.version, args.objdump)
    if wrong:
        print(f"package: {exe} may not ship:", *wrong, sep="\n  ", file=sys.stderr)
        return 1
    if not shutil.which(args.makensis):
        print(f"package: no makensis at {args.makensis!r}: install Debian's nsis (./dev installs it)",
              file=sys.stderr)
        return 1
    # Taken out of this process's environment here, so no program started below sees the password.
    signer = signing.Signer.from_environment(os.environ, args.epoch, args.osslsigncode)
    if signer is None:
        print(f"package: unsigned ({signing.PFX} names no certificate)")
    elif not shutil.which(args.osslsigncode):
        print(f"package: no osslsigncode at {args.osslsigncode!r}: install Debian's osslsigncode (./dev installs it)",
              file=sys.stderr)
        return 1
    else:
        print(f"package: signing with {signer.pfx}" + (f", timestamps from {signer.timestamp}" if signer.timestamp else
                                                      ", no timestamp server"))
    try:
        return package(args, signer)
    finally:
        if signer:
            signer.close()


def package(args, signer):
    def sign(path):
        if signer:
            signer.sign(path)

    args.out.mkdir(parents=True, exist_ok=True)
    for old in [*args.out.glob("Vornatic-*-portable.zip"), *args.out.glob("Vornatic-*-setup.exe"),
                *args.out.glob("Vornatic-*.msi"), args.out / "SHA256SUMS"]:
        old.unlink(missing_ok=True)
    folder = args.out / "stage" / "Vornatic"
    stage(args.dist, folder, args.version)
    sign(folder / "Vornatic.exe")
    date([folder, *folder.rglob("*")], args.epoch)

    zip_path = args.out / f"Vornatic-{args.version}-portable.zip"
    write_zip(folder, zip_path, args.epoch)

    nsh = args.out / "stage" / "files.nsh"
    nsis_lists(folder, nsh)
    setup = args.out / f"Vornatic-{args.version}-setup.exe"
    # The uninstaller is written by the installer at install time, from data makensis embeds:
    # makensis has it signed before embedding it, so the copy on the user's disk is signed.
    finalize = [f'-DSIGN_UNINSTALLER="{sys.executable}" "{HERE / "signing.py"}"'] if signer else []
    subprocess.run([args.makensis, "-V2", "-WX", "-NOCD", f"-DVERSION={args.version}", f"-DFILES_NSH={nsh}",
                    f"-DLANGUAGES_NSH={args.languages}", *finalize,
                    f"-DICON={args.art / 'Vornatic.ico'}", f"-DOUTFILE={setup}", str(HERE / "Vornatic.nsi")],
                   check=True, env=signer.environment(os.environ) if signer else None,
                   pass_fds=signer.passed_fds() if signer else ())
    sign(setup)

    actions = args.out / "stage" / args.actions.name
    shutil.copyfile(args.actions, actions)
    sign(actions)
    date([actions], args.epoch)
    msi = make_msi.make_msi(args.version, folder, args.art / "Vornatic.ico", actions,
                            args.out / f"Vornatic-{args.version}.msi", args.wixl, args.epoch)
    sign(msi)
    manifests = make_winget.write_manifests(args.version, msi, setup, args.download_url, args.out / "winget")

    policies = args.out / args.policies.name
    if policies.resolve() != args.policies.resolve():
        shutil.copyfile(args.policies, policies)
    downloads = [zip_path, setup, msi, policies]
    sums = args.out / "SHA256SUMS"
    write_sums(downloads, sums)

    for made in (*downloads, sums, *manifests):
        print(f"package: {made} ({made.stat().st_size} bytes)")
    return 0


if __name__ == "__main__":
    sys.exit(main())

#!/usr/bin/env python3
"""The same commit built twice, in two folders of different names and depths, one after
the other, in different time zones and with different umasks, must give the same bytes:
the executable, the MSI's custom actions and every download. Each build is a fresh clone
and a fresh build tree, so nothing is shared but the commit.

    test_reproducible.py --repo DIR --work DIR

Builds the commit checked out in --repo (its uncommitted changes are not part of it); the
clones are removed when the builds agree and kept for a look when they do not."""
import argparse
import hashlib
import os
import shutil
import subprocess
import sys
import time
from pathlib import Path

SIGNING = ("VORNATIC_SIGN_PFX", "VORNATIC_SIGN_PASSWORD", "VORNATIC_SIGN_TIMESTAMP")
# (folder below --work, time zone, umask): two places and two settings that must not matter.
BUILDS = [("a/Vornatic", "UTC", 0o022), ("second build/with a longer path/Vornatic", "Pacific/Kiritimati", 0o077)]


def compared(source):
    """{name: path} of what must be the same bytes in a build of `source`."""
    build = source / "build" / "windows"
    files = {"Vornatic.exe": build / "dist" / "Vornatic.exe",
             "VornaticSetup.dll": build / "packaging" / "VornaticSetup.dll"}
    package = build / "package"
    for path in sorted([*package.glob("Vornatic-*"), *package.glob("SHA256SUMS"), *package.glob("winget/*.yaml")]):
        files[path.relative_to(package).as_posix()] = path
    return files


def build(repo, commit, folder, zone, umask):
    if folder.exists():
        shutil.rmtree(folder)
    folder.parent.mkdir(parents=True, exist_ok=True)
    subprocess.run(["git", "clone", "--quiet", "--no-checkout", str(repo), str(folder)], check=True)
    subprocess.run(["git", "-C", str(folder), "checkout", "--quiet", "--detach", commit], check=True)
    environ = {name: value for name, value in os.environ.items() if name not in SIGNING + ("SOURCE_DATE_EPOCH",)}
    environ["TZ"] = zone
    started = time.monotonic()
    previous = os.umask(umask)
    try:
        for command in (["cmake", "--preset", "windows"],
                        ["cmake", "--build", "--preset", "windows", "--target", "vornatic_package"]):
            subprocess.run(command, cwd=folder, env=environ, check=True, stdout=subprocess.DEVNULL)
    finally:
        os.umask(previous)
    print(f"reproducible: built {commit[:10]} in {folder} ({zone}, umask {umask:03o}) "
          f"in {time.monotonic() - started:.0f} s", flush=True)
    return compared(folder)


def sha256(path):
    return hashlib.sha256(path.read_bytes()).hexdigest()


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--repo", type=Path, required=True)
    parser.add_argument("--work", type=Path, required=True)
    args = parser.parse_args()
    commit = subprocess.run(["git", "-C", str(args.repo), "rev-parse", "HEAD"], check=True, capture_output=True,
                            text=True).stdout.strip()
    if subprocess.run(["git", "-C", str(args.repo), "status", "--porcelain", "--untracked-files=no"],
                      check=True, capture_output=True, text=True).stdout:
        print(f"reproducible: building commit {commit[:10]}; the uncommitted changes are not part of it")
    first, second = (build(args.repo, commit, args.work / folder, zone, umask) for folder, zone, umask in BUILDS)

    differ = []
    if set(first) != set(second):
        differ.append(f"the builds made different files: {sorted(set(first) ^ set(second))}")
    for name in sorted(set(first) & set(second)):
        a, b = sha256(first[name]), sha256(second[name])
        print(f"  {'same' if a == b else 'DIFFERENT':9} {a[:16]} {b[:16]}  {name}")
        if a != b:
            differ.append(name)
    if differ:
        print(f"reproducible: FAILED, not the same bytes: {', '.join(differ)} (builds kept in {args.work})")
        return 1
    missing = [end for end in ("-portable.zip", "-setup.exe", ".msi", "-policies.zip")
               if not any(name.endswith(end) for name in first)]
    if missing:
        print(f"reproducible: FAILED, the builds made no {', '.join(missing)}")
        return 1
    shutil.rmtree(args.work)
    print(f"reproducible: all {len(first)} files the same")
    return 0


if __name__ == "__main__":
    sys.exit(main())

#!/usr/bin/env python3
"""Runs one Windows program to its end under Wine on a private X display, in a new
prefix with the virtual desktop, passing its output through and exiting with
its exit code. The Windows adapter tests run this way."""
import argparse
import shutil
import subprocess
import sys
from pathlib import Path

sys.dont_write_bytecode = True  # keep the source tree free of __pycache__
sys.path.insert(0, str(Path(__file__).resolve().parent))

from harness import paths  # noqa: E402
from harness.display import Xvfb  # noqa: E402
from harness.wine import make_template  # noqa: E402


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--workdir", type=Path, default=paths.BUILD / "e2e-wine-exec")
    parser.add_argument("--timeout", type=float, default=900)
    parser.add_argument("program", type=Path)
    parser.add_argument("args", nargs=argparse.REMAINDER)
    args = parser.parse_args()
    if not args.program.exists():
        print(f"run_in_wine: {args.program} is not built", file=sys.stderr)
        return 2
    workdir = args.workdir.resolve()
    if workdir.exists():
        shutil.rmtree(workdir)
    workdir.mkdir(parents=True)
    with Xvfb() as display:
        prefix = make_template(workdir / "prefix", display.name)
        try:
            result = subprocess.run(["wine", str(args.program.resolve()), *args.args], env=prefix.env,
                                    stdin=subprocess.DEVNULL, timeout=args.timeout, cwd=args.program.parent)
            return result.returncode
        except subprocess.TimeoutExpired:
            print(f"run_in_wine: {args.program.name} did not finish in {args.timeout:.0f} s", file=sys.stderr)
            return 124
        finally:
            prefix.shut_down()


if __name__ == "__main__":
    sys.exit(main())

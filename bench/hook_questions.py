#!/usr/bin/env python3
"""What the mouse hook's look at the window under a press costs: the look as it was (the
baseline), the hook's look now, and a press in a program where the latch stays out.
build/windows/bench/hook_questions.exe asks the platform's questions at the centre of
Wine's notepad, in turns, in the same run, and prints the median and the 99th
percentile of each. Windows passes an event on without the hook after about 300 ms; a
press's questions should stay far below a millisecond."""
import argparse
import sys
from pathlib import Path

sys.dont_write_bytecode = True  # keep the source tree free of __pycache__
ROOT = Path(__file__).resolve().parents[1]
sys.path.insert(0, str(ROOT / "tests" / "e2e"))

from harness import standalone  # noqa: E402
from scenarios.test_autodrag import notepad  # noqa: E402

EXE = ROOT / "build" / "windows" / "bench" / "hook_questions.exe"


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--presses", type=int, default=2000)
    standalone.add_arguments(parser, "bench-run")
    args = parser.parse_args()
    if not EXE.is_file():
        print(f"{EXE} was not built", file=sys.stderr)
        return 2
    scenario = standalone.fresh_scenario("hook-questions", args)
    failed = True
    try:
        scenario.set_up()
        notepad(scenario)
        result = scenario.prefix.run([EXE, "Notepad", args.presses], timeout=300)
        print(result.stdout, end="")
        print(result.stderr, end="", file=sys.stderr)
        failed = result.returncode != 0
        return result.returncode
    finally:
        scenario.tear_down(failed=failed)


if __name__ == "__main__":
    sys.exit(main())

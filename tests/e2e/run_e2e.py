#!/usr/bin/env python3
"""Runs the end-to-end scenarios: every test_* function of scenarios/test_*.py, each in
its own X display and its own copy of one template Wine prefix made for this run.
Ends with the line "N passed, M failed"; exits non-zero when anything failed."""
import argparse
import importlib.util
import inspect
import shutil
import sys
import time
import traceback
from pathlib import Path

HERE = Path(__file__).resolve().parent
sys.dont_write_bytecode = True  # keep the source tree free of __pycache__
sys.path.insert(0, str(HERE))

from harness import paths  # noqa: E402
from harness.display import Xvfb  # noqa: E402
from harness.scenario import Scenario  # noqa: E402
from harness.wine import make_template  # noqa: E402


def discover(selection):
    found = []
    for file in sorted((HERE / "scenarios").glob("test_*.py")):
        spec = importlib.util.spec_from_file_location(f"scenarios.{file.stem}", file)
        module = importlib.util.module_from_spec(spec)
        spec.loader.exec_module(module)
        functions = [f for name, f in inspect.getmembers(module, inspect.isfunction)
                     if name.startswith("test_") and f.__module__ == module.__name__]
        for function in sorted(functions, key=lambda f: f.__code__.co_firstlineno):
            name = f"{file.stem}::{function.__name__}"
            if not selection or any(s in name for s in selection):
                found.append((name, function))
    return found


def buttons_up(pointer):
    """The probe's word that neither button is down; an answer without it says nothing."""
    return "left" in pointer and not pointer["left"] and not pointer.get("right")


def run_one(name, function, args, template):
    scenario = Scenario(name, template, args.workdir / name.replace("::", "."), args.exe, args.probe, args.keep,
                        getattr(function, "screen", None))
    started = time.monotonic()
    failure = None
    try:
        scenario.set_up()
        function(scenario)
        # Whatever the scenario did, the person's buttons are theirs again at its end.
        scenario.wait_until(lambda: buttons_up(scenario.probe.pointer()), "every mouse button up at the end", timeout=3)
    except Exception as error:  # every failure, assertion or not, fails the scenario
        failure = error
        (scenario.artefacts / "failure.txt").write_text("".join(traceback.format_exception(error)))
    finally:
        try:
            scenario.tear_down(failed=failure is not None)
        except Exception as error:
            failure = failure or error
    return failure, time.monotonic() - started


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("select", nargs="*", help="run only scenarios whose name contains one of these")
    parser.add_argument("--exe", type=Path, default=paths.default_exe())
    parser.add_argument("--probe", type=Path, default=paths.default_probe())
    parser.add_argument("--workdir", type=Path, default=paths.default_workdir())
    parser.add_argument("--keep", action="store_true", help="keep each scenario's prefix for a look afterwards")
    parser.add_argument("--list", action="store_true", help="list the scenarios and stop")
    args = parser.parse_args()

    args.workdir = args.workdir.resolve()
    scenarios = discover(args.select)
    if args.list:
        for name, function in scenarios:
            print(name + (f"  (expected to fail: {function.expected_failure})"
                          if hasattr(function, "expected_failure") else ""))
        return 0
    if not scenarios:
        print("no scenario matched")
        print("0 passed, 1 failed")
        return 1

    if args.workdir.exists():
        shutil.rmtree(args.workdir)
    args.workdir.mkdir(parents=True)
    print(f"e2e: {len(scenarios)} scenario(s); artefacts in {args.workdir}", flush=True)
    started = time.monotonic()
    template = args.workdir / "template-prefix"
    with Xvfb() as display:
        make_template(template, display.name)
    print(f"e2e: template prefix ready in {time.monotonic() - started:.1f} s", flush=True)

    passed = failed = expected = 0
    for name, function in scenarios:
        failure, seconds = run_one(name, function, args, template)
        reason = getattr(function, "expected_failure", None)
        if reason is None and failure is None:
            passed += 1
            print(f"PASS  {name} ({seconds:.1f} s)", flush=True)
        elif reason is None:
            failed += 1
            print(f"FAIL  {name} ({seconds:.1f} s): {failure}", flush=True)
        elif failure is not None:
            expected += 1
            print(f"XFAIL {name} ({seconds:.1f} s), expected because {reason}: {failure}", flush=True)
        else:
            failed += 1
            print(f"FAIL  {name} ({seconds:.1f} s): passed although marked expected to fail ({reason}); "
                  "take the mark off", flush=True)
    if expected:
        print(f"{expected} expected to fail (not counted below)")
    print(f"{passed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())

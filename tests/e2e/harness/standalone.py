"""One long scenario run by a command of its own rather than the test runner (the idle
benchmark, the soak): its usual arguments, a clean work folder and a prefix of its own."""
import shutil
from pathlib import Path

from . import paths
from .display import Xvfb
from .scenario import Scenario
from .wine import make_template


def add_arguments(parser, workdir_name):
    parser.add_argument("--exe", type=Path, default=paths.default_exe())
    parser.add_argument("--probe", type=Path, default=paths.default_probe())
    parser.add_argument("--workdir", type=Path, default=paths.BUILD / workdir_name)


def fresh_scenario(name, args):
    """A scenario in an emptied work folder, on a template prefix made for it; the caller
    sets it up and tears it down."""
    workdir = args.workdir.resolve()
    if workdir.exists():
        shutil.rmtree(workdir)
    workdir.mkdir(parents=True)
    with Xvfb() as display:
        make_template(workdir / "template-prefix", display.name)
    return Scenario(name, workdir / "template-prefix", workdir / name, args.exe, args.probe)

"""Where the repository, the build output and the run's scratch space are."""
import os
from pathlib import Path

REPO = Path(__file__).resolve().parents[3]
BUILD = REPO / "build"
WINDOWS_BUILD = BUILD / "windows"


def default_exe() -> Path:
    return Path(os.environ.get("VORNATIC_EXE", WINDOWS_BUILD / "dist" / "Vornatic.exe"))


def default_probe() -> Path:
    return Path(os.environ.get("VORNATIC_PROBE", WINDOWS_BUILD / "tests" / "e2e" / "probe" / "probe.exe"))


def default_elevated_model() -> Path:
    """The test build of Vornatic.exe that refuses a posted WM_CLOSE, as a copy started as
    administrator does when Setup posts it (tests/e2e/elevated)."""
    return Path(os.environ.get("VORNATIC_ELEVATED_MODEL", WINDOWS_BUILD / "tests" / "e2e" / "elevated" / "Vornatic.exe"))


def default_workdir() -> Path:
    return Path(os.environ.get("VORNATIC_E2E_WORKDIR", BUILD / "e2e-run"))


def default_package_dir() -> Path:
    return Path(os.environ.get("VORNATIC_PACKAGE_DIR", WINDOWS_BUILD / "package"))

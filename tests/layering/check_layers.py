#!/usr/bin/env python3
"""Fails when an include runs against the layers: the program's folders depend downward
only (app -> the features -> runtime <- runtime/win32), no feature includes another or
app/, the Windows backend never includes the program, and only the backend and the entry
point (app/windows, built for Windows alone) include <windows.h>.

Usage: check_layers.py SRC_DIR"""
import re
import sys
from pathlib import Path

FEATURES = {"autodrag", "tray", "settings", "ui", "help", "shortcut", "settingswindow"}
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]', re.M)


def layer_of(relative):
    """The folder a source file belongs to, as the layers name it."""
    parts = relative.parts
    if parts[:2] == ("runtime", "win32"):
        return "runtime/win32"
    if parts[:2] == ("app", "windows"):
        return "app/windows"
    return parts[0]


def allowed(layer, target, relative):
    if layer == target:
        return True
    if layer == "app":
        return target in FEATURES or target == "runtime"
    if layer == "app/windows":
        # The entry point builds the platform and the program on it.
        return target in {"app", "runtime", "runtime/win32"}
    if layer in FEATURES:
        return target == "runtime"
    if layer == "runtime":
        return False
    if layer == "runtime/win32":
        return target == "runtime"
    return False


def problems(src):
    found = []
    sources = [path for path in sorted(src.rglob("*")) if path.suffix in {".h", ".cpp"}]
    if not sources:
        return [f"{src}: no sources to check"]
    for path in sources:
        relative = path.relative_to(src)
        layer = layer_of(relative)
        for bracket, name in INCLUDE.findall(path.read_text(errors="replace")):
            if bracket == "<":
                if name.lower() == "windows.h" and layer not in {"runtime/win32", "app/windows"}:
                    found.append(f"{relative}: includes <windows.h> outside the Windows backend")
                continue
            head = Path(name).parts
            if len(head) < 2:
                continue  # a generated or resource header beside the file
            target = "runtime/win32" if head[:2] == ("runtime", "win32") else head[0]
            if target == "runtime/controls" or (head[0] == "runtime" and target != "runtime/win32"):
                target = "runtime"
            if not allowed(layer, target, relative):
                found.append(f"{relative}: includes \"{name}\" ({layer} may not depend on {target})")
    return found


def main():
    src = Path(sys.argv[1] if len(sys.argv) > 1 else Path(__file__).resolve().parents[2] / "src")
    found = problems(src)
    for line in found:
        print(line)
    print(f"layers: {len(found)} include(s) against the layers")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())

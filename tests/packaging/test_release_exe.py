#!/usr/bin/env python3
"""The release check of the executable's imports (packaging/release_exe.py), on real
executables: one built with a planted static import of UxTheme, which must be refused by
name, and Vornatic.exe as built, which must pass.

    test_release_exe.py --objdump PATH --planted PLANTED.EXE --exe VORNATIC.EXE"""
import argparse
import sys
import unittest
from pathlib import Path

sys.dont_write_bytecode = True  # keep the source tree free of __pycache__
sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "packaging"))

import release_exe  # noqa: E402

ARGS = None


class ReleaseCheckOfImports(unittest.TestCase):
    def test_a_planted_import_of_a_dll_that_is_no_known_dll_is_refused_by_name(self):
        self.assertIn("uxtheme.dll", release_exe.imported_dlls(ARGS.planted, ARGS.objdump))
        refused = release_exe.problems(ARGS.planted, "1.0.0", ARGS.objdump)
        self.assertTrue(any(p.startswith("imports uxtheme.dll statically") for p in refused), refused)

    def test_vornatic_exe_imports_only_known_dlls_and_comctl32(self):
        self.assertEqual(release_exe.import_problems(ARGS.exe, ARGS.objdump), [])

    def test_only_known_dlls_comctl32_and_api_sets_pass_in_any_case(self):
        self.assertEqual(release_exe.plantable({"kernel32.dll", "comctl32.dll", "api-ms-win-crt-runtime-l1-1-0.dll",
                                                "version.dll", "wtsapi32.dll", "libstdc++-6.dll"}),
                         ["libstdc++-6.dll", "version.dll", "wtsapi32.dll"])


def main():
    global ARGS
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--objdump", required=True)
    parser.add_argument("--planted", type=Path, required=True)
    parser.add_argument("--exe", type=Path, required=True)
    ARGS, rest = parser.parse_known_args()
    program = unittest.main(argv=[sys.argv[0], "-v", *rest], exit=False)
    return 0 if program.result.wasSuccessful() else 1


if __name__ == "__main__":
    sys.exit(main())

#!/usr/bin/env python3
"""Vornatic packaged with a throwaway code-signing certificate made here: the executable in
the zip and in the MSI, the setup, the MSI's custom actions and the MSI itself are signed by
that certificate (osslsigncode verify), a file changed after signing fails the check, the
password shows in no output, no command line, no environment of the signing tools and no
file, and packaging again with the same key gives the same bytes. The MSI and manifest
tests (test_msi_and_winget.py) then run on the signed package, so the manifests and
SHA256SUMS are checked against the files as signed.

    test_signing.py --work DIR --unsigned DIR -- MAKE_PACKAGE.PY ARGUMENTS... --out DIR

The signed package stays in --out, and the certificate in --work, for the install
scenarios that try them under Wine."""
import argparse
import hashlib
import json
import os
import secrets
import shutil
import subprocess
import sys
import tempfile
import unittest
import zipfile
from pathlib import Path

sys.dont_write_bytecode = True  # keep the source tree free of __pycache__
sys.path.insert(0, str(Path(__file__).resolve().parent))
import test_msi_and_winget  # noqa: E402

ARGS = None
SIGNED = ["Vornatic.exe in the zip", "Vornatic.exe in the MSI", "the setup", "the MSI's custom actions", "the MSI"]
# A stand-in for a signing tool: notes how it was started, then becomes the real one.
RECORDER = """#!{python}
import json, os, sys
with open({log!r}, "a", encoding="utf-8") as log:
    log.write(json.dumps({{"argv": sys.argv, "environ": dict(os.environ)}}) + "\\n")
os.execv({real!r}, [{real!r}, *sys.argv[1:]])
"""


def run(command, **options):
    return subprocess.run(command, capture_output=True, text=True, **options)


def make_certificate(work, password):
    """A self-signed code-signing certificate, its PKCS#12 file and its serial number."""
    key, cert, pfx = work / "signer.key", work / "signer.pem", work / "signer.pfx"
    run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", key, "-out", cert, "-days", "30",
         "-subj", "/CN=Vornatic test signer", "-addext", "keyUsage=critical,digitalSignature",
         "-addext", "extendedKeyUsage=codeSigning"], check=True)
    run(["openssl", "pkcs12", "-export", "-inkey", key, "-in", cert, "-out", pfx, "-passout", "stdin"],
        input=password, check=True)
    key.unlink()
    serial = run(["openssl", "x509", "-noout", "-serial", "-in", cert], check=True).stdout.strip()
    return cert, pfx, serial.split("=", 1)[1].upper()


def recording(tool, work, log):
    real = shutil.which(tool)
    if not real:
        raise SystemExit(f"signing test: no {tool}")
    stand_in = work / "tools" / tool
    stand_in.parent.mkdir(exist_ok=True)
    stand_in.write_text(RECORDER.format(python=sys.executable, log=str(log), real=real), encoding="utf-8")
    stand_in.chmod(0o755)
    return stand_in


def package(out, pfx, password, tools):
    environ = {name: value for name, value in os.environ.items() if not name.startswith("VORNATIC_SIGN_")}
    environ.update(VORNATIC_SIGN_PFX=str(pfx), VORNATIC_SIGN_PASSWORD=password)
    result = run([sys.executable, *ARGS.make_package, "--out", out, "--osslsigncode", tools["osslsigncode"],
                  "--makensis", tools["makensis"]], env=environ)
    if result.returncode != 0:
        raise AssertionError(f"packaging with a certificate failed:\n{result.stdout}{result.stderr}")
    return result.stdout + result.stderr


def downloads(folder):
    return {path.name: hashlib.sha256(path.read_bytes()).hexdigest()
            for path in sorted(folder.glob("Vornatic-*")) if path.is_file()}


class SignedPackage(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        work = ARGS.work
        shutil.rmtree(work, ignore_errors=True)
        work.mkdir(parents=True)
        cls.password = secrets.token_urlsafe(18)
        cls.cert, pfx, cls.serial = make_certificate(work, cls.password)
        cls.calls = work / "calls.jsonl"
        cls.tools = {tool: recording(tool, work, cls.calls) for tool in ("osslsigncode", "makensis")}
        cls.out = ARGS.out
        cls.log = package(cls.out, pfx, cls.password, cls.tools)
        cls.again = work / "again"
        cls.log += package(cls.again, pfx, cls.password, cls.tools)
        cls.scratch = Path(tempfile.mkdtemp(dir=work))
        cls.files = cls.signed_files()
        cls.report_sizes()

    @classmethod
    def signed_files(cls):
        version = ARGS.version
        with zipfile.ZipFile(cls.out / f"Vornatic-{version}-portable.zip") as archive:
            zipped = Path(archive.extract("Vornatic.exe", cls.scratch / "zip"))
        msi = cls.out / f"Vornatic-{version}.msi"
        run(["msiextract", "-C", cls.scratch / "msi", msi], check=True)
        actions = cls.scratch / "VornaticSetup.dll"
        actions.write_bytes(subprocess.run(["msiinfo", "extract", msi, "Binary.SetupActions"], check=True,
                                           capture_output=True).stdout)
        return dict(zip(SIGNED, [zipped, next((cls.scratch / "msi").rglob("Vornatic.exe")),
                                 cls.out / f"Vornatic-{version}-setup.exe", actions, msi]))

    @classmethod
    def report_sizes(cls):
        unsigned = {"Vornatic.exe": ARGS.unsigned / "stage" / "Vornatic" / "Vornatic.exe",
                    "VornaticSetup.dll": ARGS.unsigned / "stage" / "VornaticSetup.dll"}
        signed = {"Vornatic.exe": cls.out / "stage" / "Vornatic" / "Vornatic.exe",
                  "VornaticSetup.dll": cls.out / "stage" / "VornaticSetup.dll"}
        for name in downloads(cls.out):
            unsigned[name], signed[name] = ARGS.unsigned / name, cls.out / name
        for name, path in signed.items():
            before = unsigned[name].stat().st_size if unsigned[name].exists() else "?"
            print(f"signing: {name}: {before} bytes unsigned, {path.stat().st_size} signed", file=sys.stderr)

    def verify(self, path):
        return run(["osslsigncode", "verify", "-CAfile", self.cert, "-in", path])

    def test_what_ships_is_signed_by_the_certificate(self):
        for name, path in self.files.items():
            with self.subTest(name):
                result = self.verify(path)
                self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
                self.assertIn(f"Serial : {self.serial}", result.stdout)
                self.assertRegex(result.stdout, r"Message digest algorithm +: SHA256")

    def test_signing_adds_a_signature_and_changes_nothing_it_covers(self):
        """osslsigncode's extract-data gives the Authenticode digest of all but the signature."""
        for name, signed, unsigned in (("Vornatic.exe", self.files["Vornatic.exe in the zip"],
                                        ARGS.unsigned / "stage" / "Vornatic" / "Vornatic.exe"),
                                       ("VornaticSetup.dll", self.files["the MSI's custom actions"],
                                        ARGS.unsigned / "stage" / "VornaticSetup.dll")):
            with self.subTest(name):
                digests = []
                for path in (signed, unsigned):
                    digest = self.scratch / f"{path.parent.name}-{name}.der"
                    run(["osslsigncode", "extract-data", "-h", "sha256", "-in", path, "-out", digest], check=True)
                    digests.append(digest.read_bytes())
                self.assertEqual(digests[0], digests[1])
                self.assertNotEqual(signed.read_bytes(), unsigned.read_bytes())

    def test_a_file_changed_after_signing_fails_the_check(self):
        for name in ("Vornatic.exe in the zip", "the setup", "the MSI"):
            with self.subTest(name):
                data = bytearray(self.files[name].read_bytes())
                # The MSI's files, in the cabinet; the middle of an executable's code.
                at = data.find(b"MSCF") + 64 if name == "the MSI" else len(data) // 2
                data[at] ^= 0x01
                changed = self.scratch / f"changed-{self.files[name].name}"
                changed.write_bytes(data)
                self.assertNotEqual(self.verify(changed).returncode, 0)

    def test_the_password_shows_nowhere(self):
        self.assertNotIn(self.password, self.log)
        calls = [json.loads(line) for line in self.calls.read_text(encoding="utf-8").splitlines()]
        signing = [call for call in calls if call["argv"][1:2] == ["sign"]]
        # Per package: the executable, the uninstaller, the setup, the custom actions, the MSI.
        self.assertEqual(len(signing), 2 * 5)
        for call in calls:
            self.assertNotIn(self.password, " ".join(call["argv"]))
            self.assertNotIn(self.password, json.dumps(call["environ"]))
        for call in signing:
            self.assertRegex(call["argv"][call["argv"].index("-readpass") + 1], r"^/dev/fd/\d+$")
        for folder in (self.out, self.again, ARGS.work):
            for path in folder.rglob("*"):
                if path.is_file():
                    self.assertNotIn(self.password.encode(), path.read_bytes(), path)

    def test_packaged_again_with_the_same_key_the_same_bytes(self):
        self.assertEqual(downloads(self.again), downloads(self.out))
        self.assertEqual(len(downloads(self.out)), 4)


def main():
    global ARGS
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--work", type=Path, required=True, help="the certificate and scratch files")
    parser.add_argument("--unsigned", type=Path, required=True, help="the unsigned package, for the sizes")
    parser.add_argument("make_package", nargs=argparse.REMAINDER, help="-- make_package.py and its arguments")
    ARGS = parser.parse_args()
    ARGS.make_package = [arg for arg in ARGS.make_package if arg != "--"]
    known = argparse.ArgumentParser(add_help=False)
    for option in ("--version", "--art", "--actions", "--objdump", "--out"):
        known.add_argument(option)
    given, _ = known.parse_known_args(ARGS.make_package[1:])
    ARGS.version, ARGS.out = given.version, Path(given.out)
    ARGS.make_package = ARGS.make_package[:ARGS.make_package.index("--out")] + \
        ARGS.make_package[ARGS.make_package.index("--out") + 2:]
    test_msi_and_winget.ARGS = argparse.Namespace(package=ARGS.out, version=given.version, art=Path(given.art),
                                                  actions=Path(given.actions), objdump=given.objdump)
    loader = unittest.defaultTestLoader
    suite = unittest.TestSuite([loader.loadTestsFromTestCase(SignedPackage),
                                loader.loadTestsFromModule(test_msi_and_winget)])
    result = unittest.TextTestRunner(verbosity=2).run(suite)
    return 0 if result.wasSuccessful() else 1


if __name__ == "__main__":
    sys.exit(main())

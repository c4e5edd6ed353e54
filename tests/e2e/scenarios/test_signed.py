"""The downloads as signed with the throwaway certificate of the signing test (the package
tier of ./dev test makes them): the signed setup installs, the program and the uninstaller
it writes carry the certificate's signature, and the signed program starts and goes again
with the uninstaller; the signed MSI package installs, and its program is signed and starts."""
import subprocess

from harness import paths
from harness.wine import windows_path
from scenarios.test_install import (INSTALL_TIMEOUT, folder_of_user, project_version, start_installed,
                                    uninstall_silently, wait_until_closed)
from scenarios.test_msi import msiexec

SIGNED = paths.WINDOWS_BUILD / "package-signed"
CERTIFICATE = paths.WINDOWS_BUILD / "signing-test" / "signer.pem"


def signed_download(kind):
    made = SIGNED / f"Vornatic-{project_version()}{kind}"
    if not made.exists() or not CERTIFICATE.exists():
        raise AssertionError(f"{made} is not built (cmake --build --preset windows --target vornatic_signing_test)")
    return made


def assert_signed(s, path):
    result = subprocess.run(["osslsigncode", "verify", "-CAfile", str(CERTIFICATE), "-in", str(path)],
                            capture_output=True, text=True)
    assert result.returncode == 0, f"{path} is not signed by the test certificate:\n{result.stdout[-1500:]}"
    s.note(f"{path.name} is signed by the test certificate")


def test_signed_setup_installs_a_signed_program_that_starts_and_a_signed_uninstaller(s):
    install_dir = f"{folder_of_user(s, 'LOCALAPPDATA')}\\Programs\\Vornatic"
    installed = s.prefix.unix_path(install_dir)
    result = s.prefix.run([signed_download("-setup.exe"), "/S"], timeout=INSTALL_TIMEOUT)
    assert result.returncode == 0, f"the signed installer failed ({result.returncode}): {result.stderr[-1000:]}"
    assert_signed(s, installed / "Vornatic.exe")
    assert_signed(s, installed / "Uninstall.exe")
    process = start_installed(s, f"{install_dir}\\Vornatic.exe")
    uninstall_silently(s, installed)
    wait_until_closed(s, process, "by the signed uninstaller")


def test_signed_msi_installs_a_signed_program_that_starts(s):
    install_dir = f"{folder_of_user(s, 'ProgramFiles')}\\Vornatic"
    installed = s.prefix.unix_path(install_dir)
    msi = windows_path(signed_download(".msi"))
    msiexec(s, "/i", msi)
    assert_signed(s, installed / "Vornatic.exe")
    process = start_installed(s, f"{install_dir}\\Vornatic.exe")
    msiexec(s, "/x", msi)
    wait_until_closed(s, process, "by the removal")
    assert not installed.exists(), "the removal of the signed package left its folder"

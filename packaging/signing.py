#!/usr/bin/env python3
"""Signs what ships with Authenticode (SHA-256) using osslsigncode, when the environment
names a certificate:

    VORNATIC_SIGN_PFX        the PKCS#12 file with the code-signing certificate and its key
    VORNATIC_SIGN_PASSWORD   the PKCS#12 file's password
    VORNATIC_SIGN_TIMESTAMP  an RFC 3161 timestamp server's URL (optional)

The password goes to osslsigncode as a memory-only file that the child processes inherit
(/dev/fd/N, never a path on disk nor an argument) and is taken out of the environment of
every program started from here. Without a timestamp server the signing time is the
commit's, so that the same files signed twice with the same key are the same bytes.

    signing.py FILE   signs FILE in place; makensis runs this on the uninstaller it is about
                      to embed, with what make_package.py put in its environment"""
import os
import subprocess
import sys
from pathlib import Path

PFX = "VORNATIC_SIGN_PFX"
PASSWORD = "VORNATIC_SIGN_PASSWORD"
TIMESTAMP = "VORNATIC_SIGN_TIMESTAMP"
# What a helper started by makensis needs: where the password is, and when and with what to sign.
PASSWORD_FD = "VORNATIC_SIGN_PASSWORD_FD"
SIGNING_TIME = "VORNATIC_SIGN_TIME"
TOOL = "VORNATIC_SIGN_TOOL"
DESCRIPTION = "Vornatic"
URL = "https://www.kestrova.example/"


class Signer:
    def __init__(self, pfx, password_fd, timestamp, signing_time, tool):
        self.pfx, self.password_fd, self.timestamp = pfx, password_fd, timestamp
        self.signing_time, self.tool = signing_time, tool

    @classmethod
    def from_environment(cls, environ, signing_time=None, tool=None):
        """The signer the environment names, or None. Takes the password out of `environ`."""
        pfx = environ.get(PFX)
        password = environ.pop(PASSWORD, None)
        if not pfx:
            return None
        if not Path(pfx).is_file():
            raise SystemExit(f"sign: {PFX} names no file: {pfx}")
        password_fd = int(environ[PASSWORD_FD]) if PASSWORD_FD in environ else None
        if password is not None:
            password_fd = os.memfd_create("vornatic-sign", 0)  # inherited by the children, no name on disk
            os.write(password_fd, password.encode("utf-8"))
        return cls(pfx, password_fd, environ.get(TIMESTAMP) or None,
                   signing_time or environ.get(SIGNING_TIME), tool or environ.get(TOOL, "osslsigncode"))

    def environment(self, base):
        """`base` without the password, with what the uninstaller's helper needs."""
        environ = {name: value for name, value in base.items() if name != PASSWORD}
        environ.update({PFX: self.pfx, TOOL: self.tool})
        environ.pop(PASSWORD_FD, None)
        if self.password_fd is not None:
            environ[PASSWORD_FD] = str(self.password_fd)
        if self.timestamp:
            environ[TIMESTAMP] = self.timestamp
        if self.signing_time:
            environ[SIGNING_TIME] = str(self.signing_time)
        return environ

    def passed_fds(self):
        return () if self.password_fd is None else (self.password_fd,)

    def command(self, source, signed):
        command = [self.tool, "sign", "-pkcs12", self.pfx, "-h", "sha256", "-n", DESCRIPTION, "-i", URL]
        if self.password_fd is not None:
            command += ["-readpass", f"/dev/fd/{self.password_fd}"]
        if self.timestamp:
            command += ["-ts", self.timestamp]
        elif self.signing_time:
            command += ["-time", str(self.signing_time)]
        return command + ["-in", str(source), "-out", str(signed)]

    def sign(self, path):
        """Signs the file in place."""
        path = Path(path)
        signed = path.with_name(path.name + ".signing")
        signed.unlink(missing_ok=True)
        result = subprocess.run(self.command(path, signed), capture_output=True, text=True,
                                pass_fds=self.passed_fds(), env=self.environment(os.environ))
        if result.returncode != 0 or not signed.exists():
            signed.unlink(missing_ok=True)
            raise SystemExit(f"sign: osslsigncode could not sign {path}:\n{result.stdout}{result.stderr}")
        os.replace(signed, path)

    def close(self):
        if self.password_fd is not None:
            os.close(self.password_fd)
            self.password_fd = None


def main():
    if len(sys.argv) != 2:
        raise SystemExit("usage: " + __doc__.splitlines()[-2].strip())
    signer = Signer.from_environment(os.environ)
    if signer is None:
        raise SystemExit(f"sign: {PFX} is not set")
    signer.sign(sys.argv[1])
    return 0


if __name__ == "__main__":
    sys.exit(main())

"""What a shippable Vornatic.exe must be, checked before it is packaged: small, stripped,
importing only DLLs that Windows always takes from System32, and telling Explorer and
Windows its version, product and maker in both its version resource and its manifest."""
import re
import struct
import subprocess
from pathlib import Path

# A budget, not a law: growth past it is a reason to look at what came in (a library linked by
# mistake, a debug build), never to cut a feature. The layouts that follow the user's text
# size took the program past the first 600 kB.
MAX_BYTES = 640 * 1000
# The only DLLs the executable may import statically. Windows looks for any other DLL in
# the program's folder first, before it has run a line of ours: a file of that name lying
# beside Vornatic.exe (the portable zip unpacked in Downloads) would be loaded in its
# place. These are KnownDLLs, which every Windows maps from System32 whatever lies where,
# and comctl32, which the manifest binds to Windows' own side-by-side copy. Anything else
# (UxTheme, WTSAPI32, OLEACC, ...) is loaded at run time from System32 alone
# (src/runtime/win32/SystemLibrary.h). A DLL of the compiler's run time (libstdc++-6.dll,
# libgcc_s_seh-1.dll, libwinpthread-1.dll) would moreover be missing on most computers.
KNOWN_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "shell32.dll", "ole32.dll", "oleaut32.dll",
              "comdlg32.dll", "shlwapi.dll", "ws2_32.dll", "msvcrt.dll"}
BOUND_BY_MANIFEST = {"comctl32.dll"}
# Windows resolves the API sets itself; they are never files that could be planted.
API_SET_PREFIX = "api-ms-win-"
FIXED_FILE_INFO_SIGNATURE = 0xFEEF04BD


def imported_dlls(exe, objdump):
    """The DLLs of the executable's import table, in lower case."""
    listing = subprocess.run([objdump, "-p", str(exe)], capture_output=True, text=True, check=True).stdout
    return {name.lower() for name in re.findall(r"DLL Name: (\S+)", listing)}


def plantable(dlls):
    """Those of the DLLs that Windows would take from the program's folder, sorted."""
    return sorted(dll for dll in dlls
                  if dll not in KNOWN_DLLS | BOUND_BY_MANIFEST and not dll.startswith(API_SET_PREFIX))


def import_problems(exe, objdump):
    return [f"imports {dll} statically: it is no KnownDLL, so a {dll} beside the program would be loaded in its "
            "place; load it at run time from System32 (SystemLibrary)" for dll in plantable(imported_dlls(exe, objdump))]


def symbol_count(data):
    """NumberOfSymbols of the COFF file header: 0 once the executable is stripped."""
    pe_offset = struct.unpack_from("<I", data, 0x3C)[0]
    if data[pe_offset:pe_offset + 4] != b"PE\0\0":
        raise ValueError("not a PE file")
    return struct.unpack_from("<I", data, pe_offset + 4 + 12)[0]


def _utf16z(data, offset):
    end = offset
    while data[end:end + 2] != b"\0\0":
        end += 2
    return data[offset:end].decode("utf-16-le"), end + 2


def _align4(offset):
    return (offset + 3) & ~3


def _version_block(data, offset):
    """One node of a VS_VERSIONINFO tree: (key, value bytes or text, children)."""
    length, value_length, kind = struct.unpack_from("<HHH", data, offset)
    key, after_key = _utf16z(data, offset + 6)
    value_start = _align4(after_key)
    if kind == 1:  # text, its length counted in UTF-16 units including the NUL
        value = data[value_start:value_start + 2 * value_length].decode("utf-16-le").rstrip("\0")
        value_end = value_start + 2 * value_length
    else:
        value = data[value_start:value_start + value_length]
        value_end = value_start + value_length
    children, child = [], _align4(value_end)
    while child < offset + length:
        node = _version_block(data, child)
        children.append(node)
        child = _align4(child + struct.unpack_from("<H", data, child)[0])
    return key, value, children


def version_resource(data):
    """(file version "a.b.c.d" from the fixed part, {string name: text}) of the executable."""
    marker = "VS_VERSION_INFO".encode("utf-16-le") + b"\0\0"
    at = data.find(marker)
    if at < 6:
        raise ValueError("no version resource")
    _, fixed, children = _version_block(data, at - 6)
    signature, _, file_ms, file_ls = struct.unpack_from("<IIII", fixed, 0)
    if signature != FIXED_FILE_INFO_SIGNATURE:
        raise ValueError("the version resource has no fixed file information")
    version = f"{file_ms >> 16}.{file_ms & 0xFFFF}.{file_ls >> 16}.{file_ls & 0xFFFF}"
    strings = {}
    for key, _, tables in children:
        if key == "StringFileInfo":
            for _, _, entries in tables:
                strings.update({name: text for name, text, _ in entries})
    return version, strings


def manifest_version(data):
    match = re.search(rb'<assemblyIdentity[^>]*name="Kestrova\.Vornatic"[^>]*version="([^"]+)"', data)
    return match.group(1).decode() if match else None


def problems(exe, version, objdump):
    """Everything wrong with the executable for release as `version` ("1.2.3"); empty when
    it may ship."""
    exe = Path(exe)
    data = exe.read_bytes()
    found = []
    if len(data) > MAX_BYTES:
        found.append(f"{len(data)} bytes, more than {MAX_BYTES}")
    if symbol_count(data):
        found.append("not stripped")
    found += import_problems(exe, objdump)
    full_version = f"{version}.0"
    try:
        fixed, strings = version_resource(data)
    except (ValueError, struct.error, UnicodeDecodeError) as error:
        found.append(f"version resource unreadable: {error}")
    else:
        if fixed != full_version:
            found.append(f"version resource says {fixed}, the project {full_version}")
        expected = {"ProductName": "Vornatic", "CompanyName": "Kestrova", "FileVersion": full_version,
                    "ProductVersion": full_version, "OriginalFilename": "Vornatic.exe"}
        for name, text in expected.items():
            if strings.get(name) != text:
                found.append(f"version resource {name} is {strings.get(name)!r}, not {text!r}")
        if not strings.get("FileDescription"):
            found.append("version resource has no FileDescription")
    if manifest_version(data) != full_version:
        found.append(f"manifest says version {manifest_version(data)!r}, the project {full_version}")
    return found

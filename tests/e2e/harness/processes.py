"""The Linux processes that run a prefix's Windows programs, as /proc shows them: how a
benchmark or the soak finds Vornatic.exe to measure it."""
from pathlib import Path


def processes_named(name, prefix):
    """Pids of the processes called `name` (as Wine names them in /proc) in this prefix."""
    found = []
    for stat in Path("/proc").glob("[0-9]*/stat"):
        try:
            comm = stat.read_text().split("(", 1)[1].rsplit(")", 1)[0]
            if comm == name and f"WINEPREFIX={prefix}".encode() in (stat.parent / "environ").read_bytes().split(b"\0"):
                found.append(int(stat.parent.name))
        except (OSError, IndexError):
            continue
    return found


def only_one(name, prefix):
    pids = processes_named(name, prefix)
    if len(pids) != 1:
        raise RuntimeError(f"expected one {name} in {prefix}, found {pids}")
    return pids[0]

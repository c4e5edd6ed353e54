"""What Vornatic writes of its hook when VORNATIC_HOOK_TIMINGS names a file: when each
hook went in, and every answer it gave, each time a hook goes."""
import os
from contextlib import contextmanager


@contextmanager
def recorded(path):
    """Vornatic started inside this block writes its hook's timings to `path` (Wine hands
    the environment on; a Linux path reaches Windows through the Z: drive)."""
    os.environ["VORNATIC_HOOK_TIMINGS"] = "Z:" + str(path).replace("/", "\\")
    try:
        yield path
    finally:
        del os.environ["VORNATIC_HOOK_TIMINGS"]


def _lines(path):
    return path.read_text().splitlines() if path.exists() else []


def installed_times(path):
    """When each hook went in, in ms on the harness's clock."""
    return [float(line.split()[1]) for line in _lines(path) if line.startswith("installed_ms")]


def answers(path):
    """(answers, longest in us, 99th percentile in us) over every answer written, or None."""
    micros = sorted(int(v) for line in _lines(path) if " us " in line for v in line.split(" us ", 1)[1].split())
    if not micros:
        return None
    return len(micros), micros[-1], micros[min(len(micros) - 1, (len(micros) * 99 + 99) // 100 - 1)]

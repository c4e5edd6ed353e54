"""Waiting for a condition with a time limit. Scenarios assert on what they observe,
never on how long they slept."""
import time


class WaitTimeout(AssertionError):
    pass


def wait_until(condition, timeout, what, interval=0.1):
    """Calls condition() until it returns something truthy and returns that; raises
    WaitTimeout naming `what` (and the last value seen) once `timeout` seconds pass."""
    deadline = time.monotonic() + timeout
    last = None
    while True:
        last = condition()
        if last:
            return last
        if time.monotonic() >= deadline:
            raise WaitTimeout(f"timed out after {timeout:.0f} s waiting for {what} (last seen: {last!r})")
        time.sleep(interval)

"""The clock Wine's performance counter runs on here (CLOCK_MONOTONIC_RAW, in ms), so a
time the harness notes can be set beside a time in the probe's log. Whether the two
really agree on a machine is checked when the probe starts (Scenario.clocks_agree)."""
import time


def now_ms():
    return time.clock_gettime(time.CLOCK_MONOTONIC_RAW) * 1000.0

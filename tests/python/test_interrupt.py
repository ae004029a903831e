"""Ctrl-C during a long call: KeyboardInterrupt comes out of the call itself, not after it returns."""
import os
import signal
import subprocess
import sys
import time

import pytest

# The child records the profiler's events of the search call: "c_exception"
# when the call itself raised, "c_return" when it returned (an interrupt
# that waited for the search would follow that). The parent sends SIGINT
# once the child is inside a search of seconds.
CHILD = r"""
import sys, zantro
events = []
taps = zantro.design(method="remez", taps=801, bands=[(0, 1000, 1, 1), (1040, 4000, 0, 10)]).taps
def profile(frame, event, function):
    if getattr(function, "__name__", "") == sys.argv[1]:
        events.append(event)
        if event == "c_call":
            print("searching", flush=True)
sys.setprofile(profile)
try:
    if sys.argv[1] == "to_requirement":
        zantro.to_requirement(pass_bands=[(0, 1000, 0.05)], stop_bands=[(1040, 4000, 80)], fs=8000, grid=64)
    else:
        zantro.optimize_words(taps, 8000, 14, bands=[(0, 1000, "pass"), (1040, 4000, "stop")])
    sys.setprofile(None)
    print("finished", events, flush=True)
except KeyboardInterrupt:
    sys.setprofile(None)
    print("interrupted", events, flush=True)
    sys.exit(42)
"""


@pytest.mark.parametrize("function", ["to_requirement", "optimize_words"])
def test_ctrl_c_stops_a_search_at_once(function):
    child = subprocess.Popen([sys.executable, "-c", CHILD, function], stdout=subprocess.PIPE, text=True,
                             env=os.environ)
    assert child.stdout.readline() == "searching\n"
    time.sleep(0.2)  # well inside the search: the signal does not reach the module before it polls
    child.send_signal(signal.SIGINT)
    # The process ends soon after: its thread stops before the next length it would design, or the
    # optimisation at its next progress report.
    out, _ = child.communicate(timeout=120)
    assert (child.returncode, out) == (42, "interrupted ['c_call', 'c_exception']\n")

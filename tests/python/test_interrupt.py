"""Runs stop at Ctrl-C and when a progress callback raises, promptly and without leaking."""

import os
import signal
import subprocess
import sys

import numpy as np
import pytest

import tolvex

EXAMPLES = tolvex.examples_dir()


def random_model(count, seed=1):
    """The example box cut by count faults through its middle: blocks multiply with each fault."""
    boundary = tolvex.read_boundary(os.path.join(EXAMPLES, "box.boundary"))
    rng = np.random.default_rng(seed)
    normals = rng.normal(size=(count, 3))
    slips = np.cross(normals, rng.normal(size=(count, 3)))
    slips /= np.linalg.norm(slips, axis=1)[:, None]
    points = boundary.vertices.mean(axis=0) + rng.uniform(-300, 300, (count, 3))
    return boundary, tolvex.faults_from_arrays(normals, points, slips, rng.uniform(1, 20, count),
                                               np.arange(count))


class Stop(Exception):
    pass


def test_progress_counts_every_fault_of_both_runs_and_its_exception_stops_the_run():
    boundary, faults = random_model(6)
    seen = []
    tolvex.run(boundary, faults, progress=lambda done, total: seen.append((done, total)))
    assert seen == [(k, 12) for k in range(1, 13)]

    def stop_at_8(done, total):
        seen.append(done)
        if done == 8:
            raise Stop
    seen.clear()
    with pytest.raises(Stop):
        tolvex.run(boundary, faults, progress=stop_at_8)
    assert seen == list(range(1, 9))
    with pytest.raises(TypeError, match="progress: expected None or a callable"):
        tolvex.run(boundary, faults, progress=3)


def resident_bytes():
    with open("/proc/self/statm") as f:
        return int(f.read().split()[1]) * os.sysconf("SC_PAGE_SIZE")


def test_stopped_runs_free_what_they_held():
    boundary, faults = random_model(50)

    def stop_late(done, total):
        if done == total - 5:
            raise Stop
    for _ in range(3):
        with pytest.raises(Stop):
            tolvex.run(boundary, faults, progress=stop_late)
    before = resident_bytes()
    for _ in range(10):
        with pytest.raises(Stop):
            tolvex.run(boundary, faults, progress=stop_late)
    # A run stopped there holds some 10,000 blocks of each run, megabytes each time.
    assert resident_bytes() - before < 20e6


# Says "ready" just before a run of some seconds, then how long after that KeyboardInterrupt
# came, or "finished" when the run went to its end.
CHILD = """
import signal, sys, time, tolvex
sys.path.insert(0, {here!r})
from test_interrupt import random_model
signal.signal(signal.SIGINT, signal.default_int_handler)
boundary, faults = random_model(150)
try:
    start = time.monotonic()
    print("ready", flush=True)
    tolvex.run(boundary, faults)
    print("finished")
except KeyboardInterrupt:
    print(time.monotonic() - start)
"""


# How soon the interrupt comes is a matter of the machine's load, measured apart from the tests;
# here it must come, and stop the run before its end.
def test_ctrl_c_stops_a_long_run():
    code = CHILD.format(here=os.path.dirname(os.path.abspath(__file__)))
    child = subprocess.Popen([sys.executable, "-c", code], stdout=subprocess.PIPE, text=True)
    assert child.stdout.readline() == "ready\n"
    child.send_signal(signal.SIGINT)
    out, _ = child.communicate(timeout=120)
    assert child.returncode == 0 and out.strip() != "finished"
    float(out)

"""Faults, blocks, results and settings survive pickling and copying, as process pools need."""

import concurrent.futures
import copy
import os
import pickle

import numpy as np
import pytest

import tolvex

EXAMPLES = os.path.join(os.path.dirname(__file__), "../../examples")
CONF = os.path.join(EXAMPLES, "tolvex.conf")
FAULTS = os.path.join(EXAMPLES, "graben.efd")


def block_values(b):
    return (b.vertices.tolist(), b.edges.tolist(), [f.tolist() for f in b.faces],
            b.normals.tolist(), b.fault_indices.tolist(), b.tracer_indices.tolist())


def state_values(s):
    steps = None if s.steps is None else [
        (t.step, t.fault, [block_values(b) for b in t.blocks], t.tracers.tolist()) for t in s.steps]
    return ([block_values(b) for b in s.blocks], s.tracers.tolist(), s.faults, steps)


def values(x):
    """What an object of the module holds, as plain comparable values."""
    if isinstance(x, tolvex.Result):
        return (state_values(x.restored), state_values(x.forward), block_values(x.boundary),
                x.centre.tolist(), x.warnings)
    if isinstance(x, tolvex.Block):
        return block_values(x)
    if isinstance(x, tolvex.Config):
        return tuple(getattr(x, k) for k in dir(x) if not k.startswith("_"))
    return x


OBJECTS = {
    "fault": lambda: tolvex.read_faults(FAULTS)[1],
    "block": lambda: tolvex.run_files(CONF, faults=FAULTS).forward.blocks[2],
    "result": lambda: tolvex.run_files(CONF, faults=FAULTS, steps=True),
    "config": lambda: tolvex.read_config(CONF),
}


@pytest.mark.parametrize("how", ["pickle", "deepcopy", "copy"])
@pytest.mark.parametrize("kind", OBJECTS)
def test_round_trip_keeps_every_value(kind, how):
    original = OBJECTS[kind]()
    twin = {"pickle": lambda x: pickle.loads(pickle.dumps(x, pickle.HIGHEST_PROTOCOL)),
            "deepcopy": copy.deepcopy, "copy": copy.copy}[how](original)
    assert type(twin) is type(original) and values(twin) == values(original)
    if kind == "result":
        assert not twin.forward.tracers.flags.writeable


def test_faults_compare_by_value():
    a, b = tolvex.read_faults(FAULTS)[0], tolvex.read_faults(FAULTS)[0]
    assert a == b and a != tolvex.read_faults(FAULTS)[1] and a != "fault"
    b.point = b.point + [0, 0, 1e-9]
    assert a != b
    with pytest.raises(TypeError):
        hash(a)


def run_with_slip(slip):
    boundary = tolvex.read_boundary(os.path.join(EXAMPLES, "box.boundary"))
    faults = tolvex.read_faults(FAULTS)
    faults[0].slip_magnitude = slip
    return tolvex.run(boundary, faults, tolvex.read_tracers(os.path.join(EXAMPLES, "layers.tracers")))


def test_a_process_pool_returns_the_serial_results():
    slips = [0.0, 50.0, 150.0]
    with concurrent.futures.ProcessPoolExecutor(2) as pool:
        pooled = list(pool.map(run_with_slip, slips))
    assert [values(r) for r in pooled] == [values(run_with_slip(s)) for s in slips]

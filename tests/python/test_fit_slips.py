"""fit_slips on the example: the present-day layers of the graben give back its slips."""

import os

import numpy as np
import pytest

import tolvex

EXAMPLES = os.path.join(os.path.dirname(__file__), "../../examples")


@pytest.fixture(scope="module")
def graben():
    boundary = tolvex.read_boundary(os.path.join(EXAMPLES, "box.boundary"))
    faults = tolvex.read_faults(os.path.join(EXAMPLES, "graben.efd"))
    layers = tolvex.read_horizons(os.path.join(EXAMPLES, "horizons.ts"))
    pieces = tolvex.run(boundary, faults, horizons=layers).forward.horizons
    present = [tolvex.Horizon(s.name, s.vertices, s.triangles) for s in pieces]
    return boundary, faults, present


def test_fit_recovers_the_slips_with_tables_and_progress(graben):
    boundary, faults, present = graben
    half = [tolvex.Fault(name=f.name, normal=f.normal, point=f.point,
                         slip_direction=f.slip_direction, slip_magnitude=f.slip_magnitude / 2,
                         sequence=f.sequence) for f in faults]
    calls = []
    fit = tolvex.fit_slips(boundary, half, present, progress=lambda d, t: calls.append((d, t)))
    assert fit.converged and calls
    assert [f.slip_magnitude for f in fit.faults] == pytest.approx(
        [f.slip_magnitude for f in faults], abs=1e-6)
    assert fit.fault_table.shape == (3, 4) and fit.horizon_table.shape == (len(present), 4)
    assert fit.covariance.shape == (6, 6)
    assert fit.fault_states == [("fitted", "held")] * 3
    assert np.all(fit.horizon_table[:, 2] < 1e-6)

    def stop(done, total):
        raise KeyboardInterrupt

    with pytest.raises(KeyboardInterrupt):
        tolvex.fit_slips(boundary, half, present, progress=stop)
    with pytest.raises(ValueError, match="No horizons"):
        tolvex.fit_slips(boundary, half, [])

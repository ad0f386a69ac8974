"""Faults in a geologist's terms from Python: from_orientation, save_faults and the warnings."""

import os
import warnings

import numpy as np
import pytest

import tolvex

EXAMPLES = os.path.join(os.path.dirname(__file__), "../../examples")


def test_oriented_faults_saved_either_way_read_back_and_run_alike(tmp_path):
    faults = [tolvex.Fault.from_orientation(dip_direction=90, dip=60, rake=-90, slip=150,
                                            point=(4700, 8750, -900), sequence=1, name="w"),
              tolvex.Fault.from_orientation(dip_direction=270, dip=60, slip_azimuth=270,
                                            slip_plunge=60, slip=120, point=(5300, 8750, -900),
                                            sequence=2, name="e, \"east\"")]
    np.testing.assert_allclose(faults[0].normal, (np.sqrt(0.75), 0, 0.5), atol=1e-12)
    np.testing.assert_allclose(faults[0].slip_direction, (0.5, 0, -np.sqrt(0.75)), atol=1e-12)
    conf = os.path.join(EXAMPLES, "tolvex.conf")
    tracers = []
    for name in ("f.csv", "f.efd"):
        path = tmp_path / name
        tolvex.save_faults(path, faults)
        back = tolvex.read_faults(path)
        assert [f.name for f in back] == ["e, \"east\"", "w"]
        tracers.append(tolvex.run_files(conf, faults=path).forward.tracers)
    np.testing.assert_allclose(tracers[0], tracers[1], atol=1e-8)

    with pytest.raises(ValueError, match="dip: 91 is outside 0 to 90"):
        tolvex.Fault.from_orientation(dip_direction=0, dip=91, rake=0, slip=1, point=(0, 0, 0),
                                      sequence=1)
    with pytest.warns(UserWarning, match="projected into the plane"):
        tolvex.Fault.from_orientation(dip_direction=90, dip=60, slip_azimuth=90, slip_plunge=60.2,
                                      slip=1, point=(0, 0, 0), sequence=1)


def test_angles_that_disagree_with_the_vectors_warn_on_reading(tmp_path):
    line = "n\t90\t{}\t90\t60\tNF\t1\t10\t0.5\t0\t-0.8660254\t0.8660254\t0\t0.5\t0\t0\t0\t1\n"
    path = tmp_path / "f.efd"
    path.write_text(line.format(60.4))
    with warnings.catch_warnings():
        warnings.simplefilter("error")
        tolvex.read_faults(path)
    path.write_text(line.format(60.6))
    with pytest.warns(UserWarning, match=r"f\.efd:1: plane azimuth/inclination 90/60\.6"):
        tolvex.read_faults(path)


def test_run_states_give_cutoffs_and_separations_and_surfaces_their_planes():
    conf = os.path.join(EXAMPLES, "tolvex.conf")
    result = tolvex.run_files(conf, faults=os.path.join(EXAMPLES, "graben.efd"),
                              horizons=os.path.join(EXAMPLES, "horizons.ts"))
    cutoffs = result.forward.cutoffs
    assert cutoffs.shape[1] == 9 and len(cutoffs) > 0
    assert set(np.unique(cutoffs[:, 2])) == {-1.0, 1.0}
    for state, sense in ((result.forward, 1), (result.restored, -1)):
        west = state.separations[state.separations[:, 0] == 101]
        assert np.mean(np.isclose(west[:, 3], sense * 150 * np.sqrt(0.75), atol=1e-3)) > 0.5

    surface = tolvex.read_horizons(os.path.join(os.path.dirname(__file__),
                                                "../formats/data/community_fault.ts"))[0]
    plane = tolvex.fit_fault_plane(surface)
    assert abs(plane["dip_direction"] - 45) < 0.2 and abs(plane["dip"] - 60) < 0.2
    assert plane["largest"] <= 15

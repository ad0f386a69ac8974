"""Horizons and fault surfaces through run, the savers and the horizon reader."""

import os
import pickle

import numpy as np
import pytest

import tolvex

EXAMPLES = os.path.join(os.path.dirname(__file__), "../../examples")
CUBE = [(x, y, z) for z in (0, 2) for y in (0, 2) for x in (0, 2)]
CUBE_FACES = [(0, 1, 3, 2), (4, 5, 7, 6), (0, 1, 5, 4), (2, 6, 7, 3), (0, 4, 6, 2), (1, 3, 7, 5)]
# A level square wider than the cube: 4 of its area lies inside.
LEVEL = tolvex.Horizon("top", [(-1, -1, 0.7), (3, -1, 0.7), (3, 3, 0.7), (-1, 3, 0.7)],
                       [(0, 1, 2), (0, 2, 3)])


def areas(surface):
    a, b, c = (surface.vertices[surface.triangles[:, k]] for k in range(3))
    return 0.5 * np.linalg.norm(np.cross(b - a, c - a), axis=1)


@pytest.fixture(scope="module")
def cube_result():
    cube = tolvex.boundary_from_arrays(CUBE, CUBE_FACES)
    s = np.sqrt(0.5)
    dipping = tolvex.Fault(normal=(s, 0, s), point=(1, 1, 1), slip_direction=(-s, 0, s),
                           slip_magnitude=0.5, sequence=1)
    return tolvex.run(cube, [dipping], steps=True, horizons=[LEVEL])


@pytest.mark.parametrize("run", ["restored", "forward"])
def test_horizon_pieces_keep_the_area_inside_the_boundary(cube_result, run):
    state = getattr(cube_result, run)
    (h,) = state.horizons
    t = len(h.triangles)
    assert h.name == "top" and h.vertices.dtype == np.float64 and h.vertices.shape[1] == 3
    assert h.triangles.dtype == np.int64 and h.triangles.shape == (t, 3)
    assert all(h.cell_data[k].shape == (t,) for k in ("horizon", "block", "triangle"))
    assert set(h.block) == {0, 1} and set(h.triangle) <= {0, 1}
    assert areas(h).sum() == pytest.approx(4.0)
    assert areas(state.steps[-1].horizons[0]).sum() == pytest.approx(4.0)
    # In the boundary file's coordinates: the wall that stays keeps the horizon at z = 0.7.
    assert np.isclose(h.vertices[:, 2], 0.7).any()
    again = pickle.loads(pickle.dumps(state)).horizons[0]
    np.testing.assert_array_equal(again.vertices, h.vertices)
    np.testing.assert_array_equal(again.block, h.block)


@pytest.mark.parametrize("ending", [".ts", ".obj", ".vtk"])
def test_saved_horizons_read_back(cube_result, tmp_path, ending):
    path = tmp_path / ("h" + ending)
    tolvex.save_horizons(path, cube_result.forward)
    (back,) = tolvex.read_horizons(path)
    (h,) = cube_result.forward.horizons
    assert back.name == "top"
    np.testing.assert_allclose(back.vertices, h.vertices, atol=1e-9)
    np.testing.assert_array_equal(back.triangles, h.triangles)
    with pytest.raises(ValueError, match=r"'\.txt'"):
        tolvex.save_horizons(tmp_path / "h.txt", cube_result.forward)


def test_both_walls_of_each_fault_have_one_area(tmp_path):
    conf = os.path.join(EXAMPLES, "tolvex.conf")
    state = tolvex.run_files(conf, faults=os.path.join(EXAMPLES, "graben.efd")).forward
    walls = {}
    for w in state.fault_surfaces:
        walls.setdefault(int(w.fault[0]), {})[int(w.side[0])] = areas(w).sum()
    assert sorted(walls) == list(range(len(state.faults)))
    for sides in walls.values():
        assert sides[1] == pytest.approx(sides[-1], rel=1e-9)
    tolvex.save_fault_surfaces(tmp_path / "f.vtk", state)
    assert "fault_name" in (tmp_path / "f.vtk").read_text()


@pytest.mark.parametrize("name, triangles, message", [
    ("a\0b\nc", [(0, 1, 2)], "holds a control character"),
    ("", [(0, 1, 2)], "must not be empty"),
    ("a", [(0, 0, 1)], r"triangles\[0\]: names one vertex twice"),
])
def test_a_horizon_is_checked_as_the_readers_check(name, triangles, message):
    with pytest.raises(ValueError, match=message):
        tolvex.Horizon(name, [(0, 0, 0), (1, 0, 0), (0, 1, 0)], triangles)

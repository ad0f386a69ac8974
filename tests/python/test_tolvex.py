"""The Python module against tolvex-batch, hand-computed models and bad input."""

import ast
import concurrent.futures
import copy
import inspect
import os
import re
import subprocess

import numpy as np
import pytest

import tolvex

EXAMPLES = os.path.join(os.path.dirname(__file__), "../../examples")
CONF = os.path.join(EXAMPLES, "tolvex.conf")
FAULTS = os.path.join(EXAMPLES, "graben.efd")

# The cube [0, 2]^3: vertex i at 2 * (bit 0, bit 1, bit 2) of i. The first face turns clockwise
# seen from outside, the others counter-clockwise: normals must come out outward either way.
CUBE = [(x, y, z) for z in (0, 2) for y in (0, 2) for x in (0, 2)]
CUBE_FACES = [(0, 1, 3, 2), (4, 5, 7, 6), (0, 1, 5, 4), (2, 6, 7, 3), (0, 4, 6, 2), (1, 3, 7, 5)]


def obj_blocks(path):
    """The vertex set of every object of an OBJ file, in file order."""
    blocks = []
    with open(path) as f:
        for line in f:
            if line.startswith("o "):
                blocks.append(set())
            elif line.startswith("v "):
                blocks[-1].add(tuple(float(x) for x in line.split()[1:]))
    return blocks


def vertex_set(block):
    return {tuple(v) for v in block.vertices.tolist()}


def test_example_equals_tolvex_batch(tmp_path):
    batch = {"tracers": tmp_path / "batch.txt", "blocks": tmp_path / "batch.obj"}
    subprocess.run([os.environ["TOLVEX_BATCH"], "--config", CONF, "--faults", FAULTS, "--quiet",
                    "--save-tracers", batch["tracers"], "--save-blocks", batch["blocks"]],
                   check=True)
    result = tolvex.run_files(CONF, faults=FAULTS)
    forward = result.forward

    expected = np.loadtxt(batch["tracers"])
    np.testing.assert_allclose(forward.tracers / 100.0, expected, rtol=0, atol=1e-8)
    # Arrays are relative to the centre; files are in the boundary file's coordinates.
    placed = [{tuple(v) for v in (b.vertices + result.centre).tolist()} for b in forward.blocks]
    assert placed == obj_blocks(batch["blocks"])
    # The writers are the program's: the files are byte for byte the same.
    forward.save_tracers(tmp_path / "py.txt")
    forward.save_blocks(tmp_path / "py.obj")
    for kind, ext in (("tracers", "txt"), ("blocks", "obj")):
        assert (tmp_path / f"py.{ext}").read_bytes() == batch[kind].read_bytes()


def test_cube_halves_move_by_the_slip():
    cube = tolvex.boundary_from_arrays(np.array(CUBE, float), CUBE_FACES)
    faces_centres = [np.mean(cube.vertices[f], axis=0) for f in cube.faces]
    assert all(np.dot(n, c - 1.0) > 0 for n, c in zip(cube.normals, faces_centres))
    assert len(cube.edges) == 12

    # Horizontal through the centre; the upper side moves 2 along +x in the forward run.
    fault = tolvex.Fault(normal=(0, 0, 1), point=(1, 1, 1), slip_direction=(1, 0, 0),
                         slip_magnitude=2.0, sequence=1)
    tracers = np.array([[0.5, 0.5, 0.5], [-0.5, 0.5, -0.5]])
    result = tolvex.run(cube, [fault], tracers, steps=True)

    np.testing.assert_array_equal(result.centre, [1, 1, 1])
    np.testing.assert_array_equal(result.forward.tracers, [[2.5, 0.5, 0.5], [-0.5, 0.5, -0.5]])
    np.testing.assert_array_equal(result.restored.tracers, [[-1.5, 0.5, 0.5], [-0.5, 0.5, -0.5]])
    lower = {(x, y, z) for x in (-1, 1) for y in (-1, 1) for z in (-1, 0)}
    upper = {(x + 2, y, z + 1) for x, y, z in lower}
    halves = sorted(sorted(vertex_set(b)) for b in result.forward.blocks)
    assert halves == sorted([sorted(lower), sorted(upper)])
    assert [len(b.tracer_indices) for b in result.forward.blocks] == [1, 1]

    steps = result.forward.steps
    assert [s.step for s in steps] == [0, 1] and steps[0].fault is None
    np.testing.assert_array_equal(steps[1].fault.slip_direction, [1, 0, 0])
    np.testing.assert_array_equal(steps[1].tracers, result.forward.tracers)
    assert result.restored.steps[1].fault.sequence == 1

    # A slip direction of length 2 is used as given (4 along x), with a warning.
    fault.slip_direction = (2, 0, 0)
    with pytest.warns(tolvex.SlipWarning, match="length 2"):
        moved = tolvex.run(cube, [fault], tracers).forward.tracers
    np.testing.assert_array_equal(moved[0], [4.5, 0.5, 0.5])

    # Tracers outside the boundary are used too, with one warning naming the first.
    with pytest.warns(UserWarning, match="2 rows lie outside the boundary, the first is row 1"):
        tolvex.run(cube, [], np.vstack([tracers[:1], [[5, 0, 0], [0, 0, -3]]]))

def test_each_runs_last_step_has_the_runs_blocks_bit_for_bit():
    # The steps are kept as shapes and moves; the last one rebuilt must be the run's result.
    result = tolvex.run_files(CONF, faults=FAULTS, steps=True)
    for state in (result.restored, result.forward):
        last = state.steps[-1]
        assert len(last.blocks) == len(state.blocks) > 1
        for a, b in zip(last.blocks, state.blocks):
            for name in ("vertices", "edges", "normals", "fault_indices", "tracer_indices"):
                np.testing.assert_array_equal(getattr(a, name), getattr(b, name))
        np.testing.assert_array_equal(last.tracers, state.tracers)
        np.testing.assert_array_equal(last.tracer_blocks, state.tracer_blocks)
        for step in state.steps:
            assert sum(len(b.tracer_indices) for b in step.blocks) == len(step.tracers)



@pytest.mark.parametrize("reader, text, line", [
    (tolvex.read_faults, "# comment\nname\t0\t0\t0\t0\tT\tx\n", 2),
    (tolvex.read_boundary, "VERTEX=0,0,0\nVERTEX=1,,2,3\n", 2),
    (tolvex.read_tracers, "1.5, 2.5, 3.5\n\n1x 2 3\n", 3),
    (tolvex.read_config, "BOUNDARY_FILE=b\nTRACER_RADIUS=0\n", 2),
])
def test_bad_files_raise_input_error(tmp_path, reader, text, line):
    path = tmp_path / "bad"
    path.write_text(text)
    with pytest.raises(tolvex.InputError, match=f"^{re.escape(str(path))}:{line}: ") as e:
        reader(path)
    assert isinstance(e.value, ValueError) and (e.value.path, e.value.line) == (str(path), line)
    with pytest.raises(FileNotFoundError) as missing:
        reader(tmp_path / "missing")
    assert missing.value.filename == str(tmp_path / "missing")


def shaped(vertices=CUBE, faces=CUBE_FACES, tracers=None, faults=()):
    return tolvex.run(tolvex.boundary_from_arrays(vertices, faces), list(faults), tracers)


def fault(**changed):
    given = dict(normal=(0, 0, 1), point=(1, 1, 1), slip_direction=(1, 0, 0), slip_magnitude=1.0,
                 sequence=1)
    return tolvex.Fault(**{**given, **changed})


@pytest.mark.parametrize("call, error, message", [
    (lambda: shaped(tracers=np.zeros((4, 2))), ValueError,
     r"tracers: expected shape \(N, 3\), got \(4, 2\)"),
    (lambda: shaped(tracers=np.zeros((4, 3), complex)), TypeError, "tracers: expected real"),
    (lambda: shaped(tracers=[["a", "b", "c"]]), TypeError, "tracers: expected real numbers"),
    (lambda: shaped(tracers=[[0, 0, np.nan]]), ValueError, r"tracers\[0\] is not finite"),
    (lambda: shaped(faults=[(0, 0, 1)]), TypeError, r"faults\[0\]: expected a tolvex.Fault"),
    (lambda: tolvex.Fault(normal=(0, 1), point=(0, 0, 0), slip_direction=(1, 0, 0),
                          slip_magnitude=1, sequence=1), ValueError,
     r"normal: expected shape \(3,\), got \(2,\)"),
    (lambda: tolvex.faults_from_arrays(np.zeros((2, 3)), np.zeros((2, 3)), np.zeros((1, 3)), [1, 1],
                                       [1, 2]), ValueError, "same length"),
    (lambda: shaped(faces=[(0.0, 1, 3, 2)] + CUBE_FACES[1:]), TypeError,
     r"faces\[0\]: expected integers, got dtype float64"),
    (lambda: shaped(faces=[(0, 1, 3, 9)] + CUBE_FACES[1:]), ValueError, "vertex 9, which does not exist"),
    (lambda: shaped(faces=CUBE_FACES[1:]), ValueError, "lies on exactly 2"),
    (lambda: shaped(vertices=CUBE[:7] + [(2, 2, 3)]), ValueError, r"face 1: .* not flat"),
    (lambda: shaped(tracers=np.zeros((4, 0))), ValueError, r"expected shape \(N, 3\), got \(4, 0\)"),
    (lambda: fault(sequence=2**31), OverflowError,
     r"^sequence: 2147483648 is out of range \(-2147483648 to 2147483647\)$"),
    (lambda: fault(identifier=1.5), TypeError, "^identifier: expected an integer, got float$"),
    (lambda: fault(slip_magnitude="2"), TypeError, "^slip_magnitude: expected a real number"),
    (lambda: fault(normal=None), TypeError, "^Fault.. needs the keyword argument normal$"),
    (lambda: tolvex.faults_from_arrays([[0, 0, 1]], [[0, 0, 0]], [[1, 0, 0]], [1],
                                       np.array([2**40], np.uint64)), OverflowError,
     r"^sequences\[0\]: 1099511627776 is out of range"),
    (lambda: tolvex.read_tracers(os.path.join(EXAMPLES, "layers.tracers"), tracer_radius=-100),
     ValueError, r"tracer_radius must be a positive finite number, got -100.0"),
    (lambda: tolvex.read_tracers(os.path.join(EXAMPLES, "layers.tracers"), tracer_radius="1"),
     TypeError, r"^tracer_radius: expected a real number, got str$"),
    (lambda: tolvex.mesh([1]), TypeError, r"blocks\[0\]: expected a tolvex.Block, got int"),
])
def test_bad_arguments_raise_clear_errors(call, error, message):
    with pytest.raises(error, match=message):
        call()


def test_warnings_name_each_fault_by_name_and_identifier():
    assert tolvex.faults_from_arrays([], [], [], [], []) == []
    faults = tolvex.faults_from_arrays([[0, 0, 1]] * 2, [[1, 1, 1]] * 2, [[1, 0, 0], [2, 0, 0]],
                                       [1, 1], [1, 2], identifiers=[7, 8])
    assert [f.name for f in faults] == ["#0", "#1"]
    with pytest.warns(tolvex.SlipWarning) as warned:
        shaped(faults=faults)
    assert [str(w.message) for w in warned] == [
        'fault "#1" (identifier 8, sequence 2): slip direction has length 2, not 1; the slip is 2 long']


def test_threads_give_the_serial_results():
    base = tolvex.read_faults(FAULTS)
    boundary = tolvex.read_boundary(os.path.join(EXAMPLES, "box.boundary"))
    tracers = tolvex.read_tracers(os.path.join(EXAMPLES, "layers.tracers"))

    def model(k):
        faults = [copy.copy(f) for f in base]
        faults[k % 3].slip_magnitude *= 1 + k / 4
        result = tolvex.run(boundary, faults, tracers).forward
        return result.tracers, [b.vertices for b in result.blocks]

    serial = [model(k) for k in range(8)]
    with concurrent.futures.ThreadPoolExecutor(4) as pool:
        threaded = list(pool.map(model, range(8)))
    for (t1, b1), (t2, b2) in zip(serial, threaded):
        np.testing.assert_array_equal(t1, t2)
        assert len(b1) == len(b2) and all(np.array_equal(x, y) for x, y in zip(b1, b2))


def test_the_stubs_declare_what_the_module_has_with_its_signatures():
    stubs = ast.parse(open(os.path.join(os.path.dirname(tolvex.__file__), "tolvex.pyi")).read())
    declared = {d.name: d for d in stubs.body if isinstance(d, (ast.FunctionDef, ast.ClassDef))}
    assert {n for n in declared if not n.startswith("_")} == set(tolvex.__all__)
    calls = {n: d for n, d in declared.items() if isinstance(d, ast.FunctionDef)}
    calls["Fault"] = next(d for d in declared["Fault"].body if getattr(d, "name", "") == "__init__")
    for name, d in calls.items():
        stub = ([a.arg for a in d.args.posonlyargs + d.args.args if a.arg != "self"],
                [a.arg for a in d.args.kwonlyargs])
        params = inspect.signature(getattr(tolvex, name)).parameters.values()
        runtime = ([p.name for p in params if p.kind == p.POSITIONAL_OR_KEYWORD],
                   [p.name for p in params if p.kind == p.KEYWORD_ONLY])
        assert runtime == stub, name


def test_sections_across_the_graben_name_its_faults(tmp_path):
    boundary = tolvex.read_boundary(os.path.join(EXAMPLES, "box.boundary"))
    faults = tolvex.read_faults(FAULTS)
    tracers = tolvex.read_tracers(os.path.join(EXAMPLES, "layers.tracers"))
    line = ((4200, 8750), (5800, 8750))
    restored = tolvex.section(boundary, faults, tracers, *line, run="restored")
    assert restored["title"].startswith("restored 3/3")
    named = {restored["fault_labels"][k].split()[0] for k in restored["trace_faults"]}
    assert named == {"101", "102"}
    # The tracers near the plane lie within the blocks it cuts.
    corners = np.vstack(restored["polygons"])
    assert len(restored["tracers"]) > 0
    assert (restored["tracers"].min(axis=0) >= corners.min(axis=0)).all()
    assert (restored["tracers"].max(axis=0) <= corners.max(axis=0)).all()
    assert len(restored["polygons"]) == len(restored["polygon_blocks"]) >= 3
    tolvex.save_section(tmp_path / "s.svg", boundary, faults, tracers, *line, units="m")
    assert ">distance along the line (m)</text>" in (tmp_path / "s.svg").read_text()
    with pytest.raises(ValueError, match="units"):
        tolvex.save_section(tmp_path / "u.svg", boundary, faults, tracers, *line, units="m\tft")
    assert not (tmp_path / "u.svg").exists()
    assert "horizon_traces" not in restored
    # Unfaulted, the flat layers cross the line once each at their elevations, also where the
    # plane runs along their triangles' sides as here.
    flat = tolvex.section(boundary, faults, tracers, *line, step=0,
                          horizons=os.path.join(EXAMPLES, "horizons.ts"))
    assert flat["horizon_names"] == [f"layer {k}" for k in range(1, 6)]
    for k in range(5):
        own = flat["horizon_traces"][flat["trace_horizons"] == k]
        assert np.allclose(own[:, :, 1], -1100 + 100 * k)
        assert np.isclose(np.abs(own[:, 1, 0] - own[:, 0, 0]).sum(), 1600)
    with pytest.raises(ValueError, match="misses the model"):
        tolvex.section(boundary, faults, tracers, (0, 0), (0, 1))
    # Bent: the bends as distances along the line and as map points; the flat layers run on
    # across them.
    bent = tolvex.section(boundary, faults, tracers, (4200, 8750), (5800, 8750), step=0,
                          via=[(5000, 9350)], horizons=os.path.join(EXAMPLES, "horizons.ts"))
    assert np.allclose(bent["bends"], [1000]) and np.allclose(bent["bend_points"], [[5000, 9350]])
    assert np.isclose(np.abs(bent["horizon_traces"][:, 1, 0] -
                             bent["horizon_traces"][:, 0, 0]).sum(), 5 * 2000)
    with pytest.raises(ValueError, match="segment 2 .* has no length"):
        tolvex.section(boundary, faults, tracers, (4200, 8750), (5000, 9350), via=[(5000, 9350)])
    with pytest.raises(ValueError, match="'forward' or 'restored'"):
        tolvex.section(boundary, faults, tracers, *line, run="present")

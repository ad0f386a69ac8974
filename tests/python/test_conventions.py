"""What a user meets first: the settings run_files reads, coordinates that overlay the horizons,
and mistakes that name what is wrong and write nothing."""

import os

import numpy as np
import pytest

import tolvex

EXAMPLES = tolvex.examples_dir()
CONF = os.path.join(EXAMPLES, "tolvex.conf")
FAULTS = os.path.join(EXAMPLES, "graben.efd")


def test_run_files_takes_the_settings_horizon_file_unless_given_other_horizons():
    given = tolvex.read_horizons(os.path.join(EXAMPLES, "horizons.ts"))
    result = tolvex.run_files(CONF, FAULTS)  # config and faults by position
    assert [h.name for h in result.forward.horizons] == [h.name for h in given]
    assert tolvex.run_files(CONF, FAULTS, horizons=[]).forward.horizons == []


def test_each_run_carries_only_its_own_horizons_from_settings_and_arguments(tmp_path):
    conf = tmp_path / "tolvex.conf"
    conf.write_text(f"BOUNDARY_FILE={EXAMPLES}/box.boundary\nTRACER_I_FILE={EXAMPLES}/layers.tracers\n"
                    "UNDEFORMED_HORIZON_FILE=layers.ts\n")
    (tmp_path / "layers.ts").write_bytes(open(os.path.join(EXAMPLES, "horizons.ts"), "rb").read())
    config = tolvex.read_config(conf)
    assert config.undeformed_horizon_path == str(tmp_path / "layers.ts")
    assert config.present_horizon_path is None
    result = tolvex.run_files(conf, FAULTS)
    assert (len(result.forward.horizons), result.restored.horizons) == (5, [])
    # Arguments replace the settings' horizons: present-day ones are the restoration's.
    result = tolvex.run_files(conf, FAULTS, present_horizons=str(tmp_path / "layers.ts"))
    assert (result.forward.horizons, len(result.restored.horizons)) == ([], 5)
    with pytest.raises(ValueError, match="horizons cannot be given with present_horizons"):
        tolvex.run_files(conf, FAULTS, horizons=[], present_horizons=[])
    boundary, faults = tolvex.read_boundary(f"{EXAMPLES}/box.boundary"), tolvex.read_faults(FAULTS)
    section = tolvex.section(boundary, faults, None, (4200, 8750), (5800, 8750), run="restored",
                             present_horizons=str(tmp_path / "layers.ts"))
    assert "present-day horizons" in section["title"] and section["horizon_traces"].size > 0


def test_config_has_and_shows_every_key():
    config = tolvex.read_config(CONF)
    assert config.horizon_path == os.path.join(EXAMPLES, "horizons.ts")
    assert (config.view_shading, config.view_blocks) == ("flat", "shown")
    text = repr(config)
    assert text.startswith("tolvex.Config(")
    for key in (k for k in dir(config) if not k.startswith("_")):
        assert f"{key}={getattr(config, key)!r}" in text


def test_boundary_coordinates_move_everything_by_the_centre_and_write_the_same_files(tmp_path):
    centred = tolvex.run_files(CONF, FAULTS, steps=True)
    placed = tolvex.run_files(CONF, FAULTS, steps=True, coordinates="boundary")
    centre = centred.centre
    assert np.allclose(placed.boundary.vertices, centred.boundary.vertices + centre)
    for a, b in ((centred.restored, placed.restored), (centred.forward, placed.forward)):
        for x, y in [(a, b)] + list(zip(a.steps, b.steps)):
            assert np.allclose(y.tracers, x.tracers + centre)
            assert np.allclose(tolvex.mesh(y.blocks).points, tolvex.mesh(x.blocks).points + centre)
        assert all(np.allclose(g.point, f.point + centre) for f, g in zip(a.faults, b.faults))
        # The horizons' pieces lie in the blocks, so both are in one frame.
        corners = tolvex.mesh(b.blocks).points
        for h in b.horizons:
            assert (h.vertices >= corners.min(0) - 1e-6).all()
            assert (h.vertices <= corners.max(0) + 1e-6).all()
    for name, state in (("centred", centred.forward), ("placed", placed.forward)):
        state.save_blocks(tmp_path / f"{name}.vtk")
        state.save_tracers(tmp_path / f"{name}.txt")
    for ending in ("vtk", "txt"):
        assert (tmp_path / f"centred.{ending}").read_text() == \
            (tmp_path / f"placed.{ending}").read_text()


@pytest.mark.parametrize("call, error, named", [
    (lambda: tolvex.run_files(CONF), TypeError, "'faults'"),
    (lambda: tolvex.run_files(CONF, 3), TypeError, "faults: expected a path"),
    (lambda: tolvex.run_files(CONF, FAULTS, boundary=1.5), TypeError, "boundary: expected a path"),
    (lambda: tolvex.run_files(CONF, FAULTS, coordinates=1), TypeError, "coordinates"),
    (lambda: tolvex.run_files(CONF, FAULTS, coordinates="model"), ValueError, "coordinates"),
])
def test_mistakes_name_the_parameter(call, error, named):
    with pytest.raises(error, match=named):
        call()


def test_saving_nothing_raises_and_writes_nothing(tmp_path):
    bare = tolvex.run(tolvex.read_boundary(os.path.join(EXAMPLES, "box.boundary")), [])
    with pytest.raises(ValueError, match="no horizons"):
        tolvex.save_horizons(tmp_path / "h.ts", bare.forward)
    with pytest.raises(ValueError, match="no fault cut"):
        tolvex.save_fault_surfaces(tmp_path / "f.ts", bare.forward)
    with pytest.raises(ValueError, match="no tracers"):
        bare.forward.save_tracers(tmp_path / "t.txt", tracer_radius=1.0)
    assert list(tmp_path.iterdir()) == []

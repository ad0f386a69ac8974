"""examples/slip_ensemble.py on a local cluster of two worker processes fits every variant as a
serial run does, and draws the slip distributions."""

import os
import sys

import numpy as np
import pytest

pytest.importorskip("distributed")
pytest.importorskip("matplotlib")

EXAMPLES = os.path.abspath(os.path.join(os.path.dirname(__file__), "../../examples"))
sys.path.insert(0, EXAMPLES)
import slip_ensemble  # noqa: E402


def test_two_workers_give_the_serial_fits(monkeypatch, tmp_path):
    monkeypatch.setenv("PYTHONPATH", os.pathsep.join([EXAMPLES, os.environ.get("PYTHONPATH", "")]))
    figure = tmp_path / "slips.png"
    table = slip_ensemble.main(["--variants", "8", "--workers", "2", "--figure", str(figure)])
    assert table.shape == (8, 3)
    np.testing.assert_array_equal(table, slip_ensemble.main(["--variants", "8", "--serial"]))
    assert figure.stat().st_size > 0
    # The perturbed planes spread the slips about the example's 100, 120 and 150.
    assert np.all(np.abs(table.mean(axis=0) - [100, 120, 150]) < 30)
    assert len(set(table[:, 0])) == 8

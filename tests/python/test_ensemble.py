"""examples/ensemble.py on a local cluster of two worker processes gives every variant the
summary a serial run gives it."""

import os
import sys

import numpy as np
import pytest

pytest.importorskip("distributed")

EXAMPLES = os.path.abspath(os.path.join(os.path.dirname(__file__), "../../examples"))
sys.path.insert(0, EXAMPLES)
import ensemble  # noqa: E402


def test_two_workers_give_the_serial_summaries(monkeypatch, capsys):
    # The workers are new processes: they import the example's functions from its folder.
    monkeypatch.setenv("PYTHONPATH", os.pathsep.join([EXAMPLES, os.environ.get("PYTHONPATH", "")]))
    options = ["--variants", "16", "--quiet"]
    table = ensemble.main(options + ["--workers", "2"])
    assert "16 variants on 2 workers" in capsys.readouterr().err
    assert table.shape == (16, len(ensemble.COLUMNS))
    np.testing.assert_array_equal(table, ensemble.main(options + ["--serial"]))
    # Every variant moved the graben differently.
    assert len(set(table[:, ensemble.COLUMNS.index("dz_max")])) == 16

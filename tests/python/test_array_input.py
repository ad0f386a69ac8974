"""Every entry point reads every kind of array-like exactly as the float64 C-order array."""

import os

import numpy as np
import pytest

import tolvex

EXAMPLES = os.path.join(os.path.dirname(__file__), "../../examples")

# Each conversion of an array-like that NumPy must copy or reinterpret; sizes are in the
# thousands of rows, well past any buffer a dangling view could still find intact.
CONVERSIONS = {
    "int64": lambda a: a.astype(np.int64),
    "int32": lambda a: a.astype(np.int32),
    "uint32": lambda a: a.astype(np.uint32),
    "float32": lambda a: a.astype(np.float32),
    "fortran": np.asfortranarray,
    "strided": lambda a: np.repeat(a, 2, axis=0)[::2],
    "big-endian": lambda a: a.astype(a.dtype.newbyteorder(">")),
    "list": lambda a: a.tolist(),
    "tuple": lambda a: tuple(tuple(r) for r in a.tolist()) if a.ndim == 2 else tuple(a.tolist()),
}
FLOAT_ONLY = {"float32"}


def prism(n=2000, radius=10_000_000):
    """A prism on a convex n-gon with integer corners (exact in float32 and int32)."""
    t = 2 * np.pi * np.arange(n) / n
    ring = np.round(radius * np.column_stack([np.cos(t), np.sin(t)]))
    vertices = np.vstack([np.column_stack([ring, np.zeros(n)]),
                          np.column_stack([ring, np.full(n, radius / 10)])])
    sides = [np.array([i, (i + 1) % n, n + (i + 1) % n, n + i]) for i in range(n)]
    return vertices, [np.arange(n), np.arange(2 * n - 1, n - 1, -1)] + sides


def example():
    boundary = tolvex.read_boundary(os.path.join(EXAMPLES, "box.boundary"))
    return boundary, tolvex.read_faults(os.path.join(EXAMPLES, "graben.efd"))


def fault_arrays(count=3000):
    rng = np.random.default_rng(7)
    return {"normals": rng.integers(-5, 6, (count, 3)).astype(float),
            "points": rng.integers(-1000, 1000, (count, 3)).astype(float),
            "slip_directions": rng.integers(-5, 6, (count, 3)).astype(float),
            "slip_magnitudes": rng.integers(0, 300, count).astype(float),
            "sequences": rng.integers(-10**6, 10**6, count),
            "identifiers": rng.integers(0, 2**31, count)}


def tracer_grid():
    return np.mgrid[-750:800:50, -550:600:50, -200:250:100].reshape(3, -1).T.astype(float)


def run_tracers(tracers):
    return tolvex.run(*example(), tracers).forward.tracers.tolist()


def faults_with(name):
    def call(value):
        args = fault_arrays()
        args[name] = value
        return tolvex.faults_from_arrays(**args)
    return call


def boundary_vertices(vertices):
    return tolvex.boundary_from_arrays(vertices, prism()[1]).vertices.tolist()


def boundary_faces(face):
    faces = prism()[1]
    return [f.tolist() for f in tolvex.boundary_from_arrays(prism()[0], [face] + faces[1:]).faces]


ENTRY_POINTS = {
    "run tracers": (tracer_grid(), run_tracers),
    "boundary_from_arrays vertices": (prism()[0], boundary_vertices),
    "boundary_from_arrays faces": (prism()[1][0], boundary_faces),
    **{f"faults_from_arrays {k}": (v, faults_with(k)) for k, v in fault_arrays().items()},
}


@pytest.mark.parametrize("conversion", CONVERSIONS)
@pytest.mark.parametrize("entry", ENTRY_POINTS)
def test_every_array_like_reads_as_float64_c_order(entry, conversion):
    plain, call = ENTRY_POINTS[entry]
    if plain.dtype.kind == "i" and conversion in FLOAT_ONLY:
        pytest.skip("integers only")
    if conversion == "uint32" and plain.min() < 0:
        plain = plain - plain.min()
    assert call(CONVERSIONS[conversion](plain)) == call(np.ascontiguousarray(plain))

"""Blocks as mesh users take them: faces counter-clockwise from outside, outward unit normals."""

import os

import numpy as np
import pytest

import tolvex

EXAMPLES = os.path.join(os.path.dirname(__file__), "../../examples")


def flat_faces(cells):
    """The faces of a VTK cell array."""
    faces, i = [], 0
    while i < len(cells):
        faces.append(cells[i + 1:i + 1 + cells[i]])
        i += 1 + cells[i]
    return faces


def face_area_vector(points, face):
    """Twice the area vector of the polygon by its corner order (counter-clockwise: along it)."""
    p = points[face]
    return np.cross(p, np.roll(p, -1, axis=0)).sum(axis=0)


def volume(points, faces):
    return sum(np.dot(points[f[0]], face_area_vector(points, f)) for f in faces) / 6.0


@pytest.fixture(scope="module")
def forward():
    return tolvex.run_files(os.path.join(EXAMPLES, "tolvex.conf"),
                            faults=os.path.join(EXAMPLES, "graben.efd")).forward


def test_every_face_winds_counter_clockwise_round_its_outward_unit_normal(forward):
    box = tolvex.read_boundary(os.path.join(EXAMPLES, "box.boundary"))
    total = volume(box.vertices, box.faces)
    assert total > 0
    volumes = []
    for b in forward.blocks:
        for face, normal in zip(b.faces, b.normals):
            area = face_area_vector(b.vertices, face)
            np.testing.assert_allclose(area / np.linalg.norm(area), normal, atol=1e-9)
        volumes.append(volume(b.vertices, b.faces))
    assert min(volumes) > 0 and sum(volumes) == pytest.approx(total, rel=1e-12)


def test_mesh_holds_every_block_face_and_each_tracer_block(forward):
    mesh = tolvex.mesh(forward.blocks)
    faces = flat_faces(mesh.faces)
    assert len(faces) == len(mesh.block) == len(mesh.normals) == sum(len(b.faces) for b in forward.blocks)
    assert [len(f) for f in faces] == sorted(len(f) for f in faces)
    base = np.cumsum([0] + [len(b.vertices) for b in forward.blocks])
    for k, b in enumerate(forward.blocks):
        np.testing.assert_array_equal(mesh.points[base[k]:base[k + 1]], b.vertices)
        mine = sorted((f - base[k]).tolist() for f, owner in zip(faces, mesh.block) if owner == k)
        assert mine == sorted(f.tolist() for f in b.faces)
    # meshio's form: the same faces in the same order, split by corner count.
    assert [r.tolist() for _, rows in mesh.cells for r in rows] == [f.tolist() for f in faces]
    assert [t for t, _ in mesh.cells] == [{3: "triangle", 4: "quad"}.get(r.shape[1], "polygon")
                                          for _, r in mesh.cells]
    np.testing.assert_array_equal(np.concatenate(mesh.cell_data["block"]), mesh.block)

    owner = forward.tracer_blocks
    assert owner.shape == (len(forward.tracers),) and owner.min() >= 0
    assert all(i in forward.blocks[k].tracer_indices for i, k in enumerate(owner))

#!/usr/bin/python3
"""An ensemble on a dask.distributed cluster: the example graben under varied dips and slips of
its two border faults, one summary per variant collected into a table.

    python3 ensemble.py                          # a local cluster of two worker processes
    python3 ensemble.py --workers 1 --variants 400
    python3 ensemble.py --scheduler tcp://scheduler:8786 --variants 10000 --csv table.csv

A summary row holds the variant's dips and slips, the vertical displacement of three followed
tracers and the largest vertical displacement of any tracer in the forward run. The model (the
module's Block and Fault objects, which pickle, and the tracers) is sent to every worker once and
each variant as two small arrays, so a worker needs the tolvex module but none of the study's
files.
"""

import argparse
import copy
import os
import sys
import time

import numpy as np

import tolvex

HERE = os.path.dirname(os.path.abspath(__file__))
# The border faults in read_faults order (youngest first: cross, east, west).
VARIED = (1, 2)
# The tracers nearest to these points (model units from the centre) are followed: on the west
# shoulder, in the middle of the graben, on the east shoulder.
FOLLOWED = {"west": (-600, 0, 0), "graben": (0, 0, 0), "east": (600, 0, 0)}
COLUMNS = (["dip_east", "dip_west", "slip_east", "slip_west"]
           + [f"dz_{name}" for name in FOLLOWED] + ["dz_max"])


def load_model(folder=HERE):
    """The example in folder: the boundary, the faults, the tracers and which of them are
    followed."""
    tracers = tolvex.read_tracers(os.path.join(folder, "layers.tracers"), tracer_radius=100.0)
    return {
        "boundary": tolvex.read_boundary(os.path.join(folder, "box.boundary")),
        "faults": tolvex.read_faults(os.path.join(folder, "graben.efd")),
        "tracers": tracers,
        "followed": np.array([np.argmin(np.linalg.norm(tracers - p, axis=1))
                              for p in FOLLOWED.values()]),
    }


def dip(normal):
    """The dip in degrees of the plane with this normal."""
    return np.degrees(np.arccos(abs(normal[2]) / np.linalg.norm(normal)))


def make_variants(model, count, seed=23):
    """count variants, drawn with a fixed seed: each border fault's dip within 10 degrees of its
    own, its slip from half to one and a half times its own."""
    rng = np.random.default_rng(seed)
    dips = np.array([dip(model["faults"][i].normal) for i in VARIED])
    slips = np.array([model["faults"][i].slip_magnitude for i in VARIED])
    return [{"dips": dips + rng.uniform(-10, 10, len(VARIED)),
             "slips": slips * rng.uniform(0.5, 1.5, len(VARIED))} for _ in range(count)]


def plane_axes(normal):
    """The strike (horizontal, in the plane) and the direction normal x strike, both unit, of
    the plane with this normal, which must not be vertical. Written out, as numpy's cross costs
    more than a model run for vectors this small."""
    nx, ny, nz = normal / np.linalg.norm(normal)
    h = np.hypot(nx, ny)
    sx, sy = -ny / h, nx / h
    return np.array([sx, sy, 0.0]), np.array([-nz * sy, nz * sx, nx * sy - ny * sx])


def with_dip(normal, slip_direction, degrees):
    """The normal and slip direction of the plane turned about its strike to the given dip; the
    slip keeps its rake."""
    strike, across = plane_axes(normal)
    along, down = slip_direction @ strike, slip_direction @ across
    angle = np.radians(degrees)
    turned = np.array([strike[1] * np.sin(angle), -strike[0] * np.sin(angle),
                       np.copysign(np.cos(angle), normal[2])])
    return turned, along * strike + down * plane_axes(turned)[1]


def summarise(variant, model):
    """One row of the table (COLUMNS) for one variant."""
    faults = [copy.copy(f) for f in model["faults"]]
    for i, degrees, slip in zip(VARIED, variant["dips"], variant["slips"]):
        faults[i].normal, faults[i].slip_direction = with_dip(faults[i].normal,
                                                              faults[i].slip_direction, degrees)
        faults[i].slip_magnitude = slip
    forward = tolvex.run(model["boundary"], faults, model["tracers"]).forward
    dz = forward.tracers[:, 2] - model["tracers"][:, 2]
    return np.concatenate([variant["dips"], variant["slips"], dz[model["followed"]],
                           [dz[np.argmax(np.abs(dz))]]])


def run_serial(variants, model):
    """The table, one row per variant in order, computed here one variant after another."""
    return np.vstack([summarise(v, model) for v in variants])


def run_ensemble(client, model, variants, serial=None):
    """The same table computed on the client's workers by serial (default run_serial). A variant
    takes under a millisecond, less than the scheduler spends on a task, so each task runs a
    stretch of consecutive variants: four tasks per worker, so that a slow worker holds up
    little."""
    workers = max(1, len(client.scheduler_info()["workers"]))
    size = -(-len(variants) // (4 * workers))
    chunks = [variants[i:i + size] for i in range(0, len(variants), size)]
    [shared] = client.scatter([model], broadcast=True)
    return np.vstack(client.gather(client.map(serial or run_serial, chunks, model=shared)))


def timed(fn, *args):
    """fn's result and the seconds it took."""
    start = time.perf_counter()
    result = fn(*args)
    return result, time.perf_counter() - start


def connect(args):
    """A client of the given scheduler, else of a local cluster that closes with it."""
    from dask.distributed import Client
    if args.scheduler:
        return Client(args.scheduler)
    return Client(n_workers=args.workers, threads_per_worker=1, dashboard_address=None)


def study_options(description):
    """The command line both studies share: how many variants, where they run, the table."""
    parser = argparse.ArgumentParser(description=description)
    parser.add_argument("--variants", type=int, default=64, help="how many (default 64)")
    parser.add_argument("--workers", type=int, default=2,
                        help="worker processes of the local cluster (default 2)")
    parser.add_argument("--scheduler", help="a running cluster's scheduler, tcp://HOST:8786")
    parser.add_argument("--serial", action="store_true", help="no cluster: one after another")
    parser.add_argument("--folder", default=HERE, help="the example's folder (default: here)")
    parser.add_argument("--csv", help="write the table to this file")
    return parser


def run_study(args, model, variants, serial):
    """The table of serial over the variants, where it ran and the seconds it took: one after
    another with --serial, else on the cluster the options name. Timed once the cluster is up,
    before it closes: the study alone."""
    if args.serial:
        return ("serially",) + timed(serial, variants, model)
    with connect(args) as client:
        where = f"on {len(client.scheduler_info()['workers'])} workers"
        return (where,) + timed(run_ensemble, client, model, variants, serial)


def main(argv=None):
    parser = study_options(__doc__.split("\n\n")[0])
    parser.add_argument("--quiet", action="store_true", help="print only the timing")
    args = parser.parse_args(argv)

    model = load_model(args.folder)
    variants = make_variants(model, args.variants)
    where, table, seconds = run_study(args, model, variants, run_serial)
    if args.csv:
        np.savetxt(args.csv, table, fmt="%.6f", delimiter=",", header=",".join(COLUMNS),
                   comments="")
    if not args.quiet:
        print(" ".join(f"{c:>10}" for c in COLUMNS))
        for row in table:
            print(" ".join(f"{x:10.2f}" for x in row))
    print(f"{len(variants)} variants {where} in {seconds:.2f} s: "
          f"{len(variants) / seconds:.1f} variants per second", file=sys.stderr)
    return table


if __name__ == "__main__":
    main()

#!/usr/bin/python3
"""How sure are the fitted slips? The example graben's slips fitted to its present-day layers
over an ensemble on a dask.distributed cluster: each fault's dip and position perturbed within
their stated errors, one row of fitted slips per variant, and a figure of each fault's slip
distribution.

    python3 slip_ensemble.py                                 # two local worker processes
    python3 slip_ensemble.py --variants 200 --csv slips.csv --figure slips.png
    python3 slip_ensemble.py --scheduler tcp://scheduler:8786 --variants 2000

The present-day layers are the example's flat layers run forward with its faults; every variant
is fitted from the file's slips, so the spread is what the errors of the fault planes alone do
to the slips.
"""

import copy
import os
import sys

import numpy as np

import tolvex
from ensemble import HERE, dip, run_study, study_options, with_dip

# The stated errors of the interpretation: one standard deviation.
DIP_ERROR = 2.0        # degrees
POSITION_ERROR = 10.0  # model units, along the fault's normal


def load_model(folder=HERE):
    """The boundary, the faults and the present-day layers of the example in folder."""
    boundary = tolvex.read_boundary(os.path.join(folder, "box.boundary"))
    faults = tolvex.read_faults(os.path.join(folder, "graben.efd"))
    layers = tolvex.read_horizons(os.path.join(folder, "horizons.ts"))
    pieces = tolvex.run(boundary, faults, horizons=layers).forward.horizons
    present = [tolvex.Horizon(p.name, p.vertices, p.triangles) for p in pieces]
    return {"boundary": boundary, "faults": faults, "horizons": present}


def make_variants(model, count, seed=31):
    """count variants, drawn with a fixed seed: per fault a dip and a shift along its normal."""
    rng = np.random.default_rng(seed)
    n = len(model["faults"])
    return [{"dips": rng.normal(0.0, DIP_ERROR, n), "shifts": rng.normal(0.0, POSITION_ERROR, n)}
            for _ in range(count)]


def fit_variant(variant, model):
    """The fitted slip of each fault (in read_faults order) for one variant."""
    faults = []
    for f, turn, shift in zip(model["faults"], variant["dips"], variant["shifts"]):
        g = copy.copy(f)
        g.normal, g.slip_direction = with_dip(f.normal, f.slip_direction, dip(f.normal) + turn)
        g.point = np.asarray(f.point) + shift * np.asarray(g.normal) / np.linalg.norm(g.normal)
        faults.append(g)
    fit = tolvex.fit_slips(model["boundary"], faults, model["horizons"])
    return fit.fault_table[:, 0]


def run_serial(variants, model):
    """The table, one row per variant in order, computed here one after another."""
    return np.vstack([fit_variant(v, model) for v in variants])


def draw(table, names, path):
    """A histogram of each fault's fitted slips, side by side, into path."""
    import matplotlib
    matplotlib.use("Agg")
    import matplotlib.pyplot as plt
    figure, axes = plt.subplots(1, len(names), figsize=(4 * len(names), 3), squeeze=False)
    for k, (ax, name) in enumerate(zip(axes[0], names)):
        ax.hist(table[:, k], bins=20, color="tab:blue")
        ax.set_title(f"{name}: {table[:, k].mean():.1f} ± {table[:, k].std():.1f}")
        ax.set_xlabel("fitted slip")
    axes[0][0].set_ylabel("variants")
    figure.tight_layout()
    figure.savefig(path)
    plt.close(figure)


def main(argv=None):
    parser = study_options(__doc__.split("\n\n")[0])
    parser.add_argument("--figure", help="draw the slip distributions into this file")
    args = parser.parse_args(argv)

    model = load_model(args.folder)
    names = [f.name for f in model["faults"]]
    variants = make_variants(model, args.variants)
    where, table, seconds = run_study(args, model, variants, run_serial)
    if args.csv:
        np.savetxt(args.csv, table, fmt="%.6f", delimiter=",", header=",".join(names),
                   comments="")
    if args.figure:
        draw(table, names, args.figure)
    print(f"{len(variants)} fits {where} in {seconds:.2f} s", file=sys.stderr)
    return table


if __name__ == "__main__":
    main()

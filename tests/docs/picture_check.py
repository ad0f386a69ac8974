"""The documents' pictures are what scripts/make-pictures makes now: each is made again into a
scratch folder and compared with the committed one, which must have the same size and differ in
few pixels. The window pictures are not made here: they show the desktop's fonts and theme
under Xvfb, and `scripts/make-pictures --windows` remakes them.

usage: picture_check.py SOURCE_DIR BUILD_DIR"""

import os
import pathlib
import subprocess
import sys
import tempfile

from PIL import Image, ImageChops

CHANNEL_STEP = 16  # a pixel differs when one of its channels differs by more than this
SHARE = 0.005  # of the pixels that may differ


def differing_share(a, b):
    difference = ImageChops.difference(a.convert("RGBA"), b.convert("RGBA"))
    counts = difference.point(lambda v: 255 if v > CHANNEL_STEP else 0).convert("L") \
        .point(lambda v: 255 if v else 0).histogram()
    return counts[255] / (a.width * a.height)


def main():
    source, build = (pathlib.Path(a).resolve() for a in sys.argv[1:3])
    faults = []
    with tempfile.TemporaryDirectory() as made:
        subprocess.run([source / "scripts/make-pictures", made], check=True,
                       env=dict(os.environ, BUILD=str(build), PYTHON=sys.executable))
        names = sorted(p.name for p in pathlib.Path(made).glob("*.png"))
        for name in names:
            committed = source / "docs" / name
            if not committed.exists():
                faults.append(f"docs/{name}: made but not committed")
                continue
            new, old = Image.open(pathlib.Path(made) / name), Image.open(committed)
            if new.size != old.size:
                faults.append(f"docs/{name}: {old.size} committed, {new.size} made")
            elif (share := differing_share(new, old)) > SHARE:
                faults.append(f"docs/{name}: {share:.1%} of the pixels differ")
    for fault in faults:
        print(fault)
    if faults:
        print("scripts/make-pictures makes them again")
    print(f"picture_check: {len(names)} pictures compared")
    sys.exit(1 if faults else 0)


main()

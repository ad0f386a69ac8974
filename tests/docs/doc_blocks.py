"""Every shell and Python block of README.md and docs/*.md runs, in the order written, in a scratch
folder laid out as a checkout with a build: a copy of examples/, build/ (the build's programs and
module) and an empty docs/. Each document starts in a fresh folder, so it makes what it uses.

usage: doc_blocks.py SOURCE_DIR BUILD_DIR MODULE_DIR"""

import os
import pathlib
import re
import shutil
import subprocess
import sys
import tempfile

# Blocks that cannot run in a scratch folder, by how their first line starts, and why.
SKIPPED = {
    "scripts/package": "builds the Debian package and installs it as root (CI's package stage)",
    "scripts/run": "opens the desktop program, and scripts/test runs this very suite",
    "python3 -m venv": "builds the whole module again through pip (CI's pip stage)",
    "cmake --install": "installs into /usr/local",
    "python3 /usr/share/tolvex": "needs the installed package",
    "client = Client(": "connects to a cluster's scheduler",
}

BLOCK = re.compile(r"^```(sh|python)\n(.*?)^```$", re.M | re.S)


def skip_reason(code):
    first = code.strip().splitlines()[0] if code.strip() else ""
    return next((why for start, why in SKIPPED.items() if first.startswith(start)), None)


def scratch_folder(source, build):
    folder = pathlib.Path(tempfile.mkdtemp(prefix="tolvex-docs-"))
    shutil.copytree(source / "examples", folder / "examples")
    (folder / "build").symlink_to(build)
    (folder / "docs").mkdir()
    return folder


def main():
    source, build, module = (pathlib.Path(a).resolve() for a in sys.argv[1:4])
    env = dict(os.environ, PYTHONPATH=str(module), MPLBACKEND="Agg", PYTHONDONTWRITEBYTECODE="1",
               PATH=f"{pathlib.Path(sys.executable).parent}:{os.environ.get('PATH', '')}")
    failures = 0
    for document in [source / "README.md"] + sorted((source / "docs").glob("*.md")):
        folder = scratch_folder(source, build)
        try:
            for number, match in enumerate(BLOCK.finditer(document.read_text()), 1):
                kind, code = match.groups()
                where = f"{document.relative_to(source)} block {number} ({kind})"
                if reason := skip_reason(code):
                    print(f"{where}: skipped: {reason}")
                    continue
                command = ["bash", "-euo", "pipefail", "-c", code] if kind == "sh" \
                    else [sys.executable, "-c", code]
                done = subprocess.run(command, cwd=folder, env=env, capture_output=True,
                                      text=True, timeout=600)
                print(f"{where}: exit {done.returncode}")
                if done.returncode != 0:
                    failures += 1
                    print(code + done.stdout + done.stderr)
        finally:
            shutil.rmtree(folder)
    sys.exit(1 if failures else 0)


main()

# Builds the module tolvex and the libraries it needs with CMake, for pip (see pyproject.toml). The
# example files go to PREFIX/share/tolvex/examples, where tolvex.examples_dir() looks first.
import glob
import os
import re
import shutil
import subprocess
import sys

from setuptools import Extension, setup
from setuptools.command.build_ext import build_ext

root = os.path.dirname(os.path.abspath(__file__))


def project_version():
    with open(os.path.join(root, "CMakeLists.txt"), encoding="utf-8") as f:
        return re.search(r"project\(tolvex VERSION ([0-9.]+)", f.read()).group(1)


class cmake_build(build_ext):
    def build_extension(self, ext):
        build = os.path.join(os.path.abspath(self.build_temp), "cmake")
        # Release without debug information: no build folder in ccache's key, so rebuilds of
        # other checkouts reuse the objects.
        subprocess.check_call(
            ["cmake", "-S", root, "-B", build, "-DCMAKE_BUILD_TYPE=Release",
             "-DTOLVEX_BENCH=OFF", "-DPython3_EXECUTABLE=" + sys.executable])
        subprocess.check_call(
            ["cmake", "--build", build, "--target", "tolvex_python", "-j", str(os.cpu_count() or 1)])
        built = glob.glob(os.path.join(build, "python", "tolvex*.so"))
        if len(built) != 1:
            raise RuntimeError("the CMake build made no single module tolvex: %s" % built)
        target = self.get_ext_fullpath(ext.name)
        os.makedirs(os.path.dirname(target), exist_ok=True)
        shutil.copyfile(built[0], target)
        # The type stubs beside the module, where editors and type checkers look.
        shutil.copyfile(os.path.join(root, "python", "tolvex.pyi"),
                        os.path.join(os.path.dirname(target), "tolvex.pyi"))


examples = sorted(f for f in glob.glob(os.path.join("examples", "*")) if os.path.isfile(f))
setup(
    version=project_version(),
    ext_modules=[Extension("tolvex", sources=[])],
    # The module is the extension alone: no Python packages to discover in the source folders.
    packages=[],
    py_modules=[],
    cmdclass={"build_ext": cmake_build},
    data_files=[("share/tolvex/examples", examples)],
    # Not build/, which is CMake's.
    options={"build": {"build_base": "build-pip"}},
    zip_safe=False,
)

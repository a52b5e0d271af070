"""Builds the extension velmora._core with the project's CMake build.

The core is C++ built by CMake, and pybind11, numpy and the compiler come from
Debian, so the extension is one CMake target built for the interpreter that
runs pip. VELMORA_BUILD_DIR names a build tree to reuse (the test script's);
without it a tree under build/python-package is made, without the window and
the benchmarks.
"""

import os
import pathlib
import shutil
import subprocess
import sys

from setuptools import Extension, setup
from setuptools.command.build_ext import build_ext

SOURCE = pathlib.Path(__file__).resolve().parent


class CMakeBuild(build_ext):
    def build_extension(self, ext):
        tree = pathlib.Path(os.environ.get("VELMORA_BUILD_DIR") or SOURCE / "build" / "python-package" / "cmake").resolve()
        if not (tree / "CMakeCache.txt").exists():
            subprocess.run(["cmake", "-S", str(SOURCE), "-B", str(tree), "-G", "Ninja",
                            "-DCMAKE_BUILD_TYPE=Release", "-DVELMORA_BENCH=OFF", "-DVELMORA_WINDOW=OFF",
                            f"-DPython_EXECUTABLE={sys.executable}"], check=True)
        subprocess.run(["cmake", "--build", str(tree), "--target", "_core"], check=True)
        package = tree / "python" / "velmora"
        target = pathlib.Path(self.get_ext_fullpath(ext.name))
        target.parent.mkdir(parents=True, exist_ok=True)
        shutil.copyfile(next(package.glob("_core*.so")), target)
        shutil.copytree(package / "data", target.parent / "data", dirs_exist_ok=True)


setup(
    packages=["velmora"],
    package_dir={"": "python"},
    ext_modules=[Extension("velmora._core", sources=[])],
    cmdclass={"build_ext": CMakeBuild},
    options={"build": {"build_base": "build/python-package"}},
    zip_safe=False,
)

"""The engine module quilane._core for pip: the program's C++ libraries that
the module links in the CMake build, compiled into the extension. Metadata is
in pyproject.toml; the version is the one CMakeLists.txt gives the program."""
import pathlib
import re

from pybind11.setup_helpers import ParallelCompile, Pybind11Extension, build_ext
from setuptools import setup

ROOT = pathlib.Path(__file__).parent
VERSION = re.search(r"project\(QuilaneConfMap VERSION ([0-9.]+)",
                    (ROOT / "CMakeLists.txt").read_text()).group(1)

# The folders the module's libraries come from (src/python/CMakeLists.txt:
# quilane_batch and what it links), every source of each, and the module's own.
sources = [str(path.relative_to(ROOT)) for folder in ("base", "files", "engine", "sections")
           for path in sorted((ROOT / "src" / folder).glob("*.cpp"))]
sources += ["src/app/naca_input.cpp", "src/app/batch_output.cpp",
            "src/python/core_module.cpp", "src/python/numpy_arrays.cpp",
            "src/python/refusal_error.cpp"]

ParallelCompile("QUILANE_BUILD_JOBS", default=0).install()

setup(
    version=VERSION,
    packages=["quilane"],
    package_dir={"": "src/python"},
    package_data={"quilane": ["py.typed", "*.pyi"]},
    ext_modules=[Pybind11Extension(
        "quilane._core", sources, cxx_std=20, include_dirs=["src"],
        define_macros=[("QUILANE_VERSION", f'"{VERSION}"'), ("QUILANE_STD_FLOAT_CHARS", None),
                       ("QUILANE_STD_FLOAT_CHARS_ONLY", None)])],
    cmdclass={"build_ext": build_ext},
    options={"build": {"build_base": "build-python"}},
    zip_safe=False,
)

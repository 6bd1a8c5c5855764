#!/usr/bin/env bash
# The package installed the Python way, as a user installs it: a copy of the
# source tree pip-installed into a fresh venv, and an sdist built from it
# installed into a second one. From outside the tree, the first runs the
# package's pytest files, stubtest and the Python examples of the docs; the second
# imports and calculates. Exit 77 (skipped) when venv, pip, setuptools,
# pybind11's Python package or mypy are missing.
#
# usage: pip_install_test.sh SOURCE_DIR PYTHON PYTEST_FILE...
set -euo pipefail

source_dir=$1
python=$2
shift 2

for module in venv pip setuptools pybind11 mypy build; do
  if ! "$python" -c "import $module" 2>/dev/null; then
    echo "SKIPPED: $python lacks the module $module (scripts/install-deps.sh installs it)"
    exit 77
  fi
done

scratch=$(mktemp -d "${TMPDIR:-/tmp}/quilane-pip.XXXXXX")
trap 'rm -rf "$scratch"' EXIT

# The tree as a clone holds it: tracked and new files, nothing ignored (no
# build folders).
mkdir "$scratch/clone"
if git -C "$source_dir" rev-parse --git-dir > /dev/null 2>&1; then
  git -C "$source_dir" ls-files -z --cached --others --exclude-standard |
    (cd "$source_dir" && xargs -0 tar cf - --ignore-failed-read 2> /dev/null) |
    tar xf - -C "$scratch/clone"
else
  tar cf - -C "$source_dir" --exclude='./build*' --exclude='./web/node_modules' . |
    tar xf - -C "$scratch/clone"
fi

export PIP_NO_INDEX=1 PIP_DISABLE_PIP_VERSION_CHECK=1 PYTHONDONTWRITEBYTECODE=1
export QUILANE_BUILD_JOBS=${QUILANE_BUILD_JOBS:-2}
unset PYTHONPATH

echo "== pip install --no-build-isolation <clone>"
"$python" -m venv --system-site-packages "$scratch/venv"
venv_python=$scratch/venv/bin/python
"$venv_python" -m pip install -q --no-build-isolation "$scratch/clone"

cd "$scratch"
installed=$("$venv_python" -c "import quilane; print(quilane.__file__)")
case "$installed" in
  "$scratch/venv/"*) echo "imported from $installed" ;;
  *) echo "FAILED: quilane was imported from $installed, not from the venv"; exit 1 ;;
esac

echo "== pytest"
"$venv_python" -m pytest -q -p no:cacheprovider "$@"

echo "== stubtest"
MYPY_CACHE_DIR=$scratch/mypy-cache "$venv_python" -m mypy.stubtest quilane \
  --allowlist "$source_dir/src/python/quilane/stubtest-allowlist.txt"

echo "== the Python examples of the README and docs/python.md"
"$venv_python" "$source_dir/tests/docs/python_examples.py" "$source_dir/samples" \
  "$source_dir/README.md" "$source_dir/docs/python.md"

echo "== sdist"
"$python" -m build --sdist --no-isolation --outdir "$scratch/dist" "$scratch/clone" > /dev/null
sdist=$(ls "$scratch"/dist/quilane-*.tar.gz)
"$python" -m venv --system-site-packages "$scratch/venv-sdist"
"$scratch/venv-sdist/bin/python" -m pip install -q --no-build-isolation "$sdist"
"$scratch/venv-sdist/bin/python" -c "
import quilane
r = quilane.redistribute(quilane.naca('2412'), n=81, mapping=True)
assert quilane.__file__.startswith('$scratch/venv-sdist/') and len(r) == 81, quilane.__file__
print('sdist', '$(basename "$sdist")', 'installs and calculates')"

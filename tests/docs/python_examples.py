#!/usr/bin/python3
"""Every ```python block of the given markdown files runs as written, each in
a fresh interpreter, in a scratch folder that holds the samples as
`samples/` (the examples' paths are relative to the project's top folder).
The package comes from the environment (PYTHONPATH); plots draw off screen.

usage: python_examples.py SAMPLES_DIR FILE.md...
"""
import os
import pathlib
import re
import subprocess
import sys
import tempfile

BLOCK = re.compile(r"^```python\n(.*?)^```", re.S | re.M)


def main(samples, pages):
    failures = examples = 0
    for page in map(pathlib.Path, pages):
        text = page.read_text(encoding="utf-8")
        for match in BLOCK.finditer(text):
            examples += 1
            line = text.count("\n", 0, match.start()) + 1
            with tempfile.TemporaryDirectory() as scratch:
                os.symlink(pathlib.Path(samples).resolve(), pathlib.Path(scratch) / "samples")
                done = subprocess.run([sys.executable, "-c", match.group(1)], cwd=scratch,
                                      capture_output=True, text=True, timeout=120,
                                      env={**os.environ, "MPLBACKEND": "Agg"})
            if done.returncode != 0:
                failures += 1
                print(f"{page}:{line}: the example fails:\n{done.stderr}")
    print(f"{examples} examples run, {failures} failed")
    return 1 if failures or examples == 0 else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2:]))

#!/usr/bin/python3
"""Our along-chord run beside the same work scripted with numpy, in one run.

For each size (N = 61 with NI = 51, N = 1000 with NI = 999) the script has
quilane_compare_engine write the NACA 4412 section of N points to a
coordinate file with every digit kept. Both sides then start from that file,
read and normalised as choosing it in the window does (not timed), and time
the work of one calculation run on the along-chord route with linear
interpolation:

  angle of each point (arccos(2x - 1), reflected from the nose on),
  NI stations at equal angle steps and their x, y interpolated linearly over
  the angle, and the camber line (midpoints of points paired about the
  middle one).

numpy does it the way a user would script it (np.arccos, np.linspace,
np.cos, np.interp); our side is Redistribute, timed inside
quilane_compare_engine ("run" mode) with all its checks, and it prints its
results with 17 significant digits so the script can check that both agree
to 1e-12. Each side's figure is the median of 15 timed batches per round,
over three alternating rounds; the ratio is numpy's median over ours.

Usage (Debian's python3 with python3-numpy; the machine's OPENBLAS_CORETYPE
and OPENBLAS_L2_SIZE slow numpy down, so unset them for this command alone):

  env -u OPENBLAS_CORETYPE -u OPENBLAS_L2_SIZE /usr/bin/python3 bench/compare.py [BUILD_DIR]

BUILD_DIR defaults to build-bench beside this folder's parent.
"""

import os
import statistics
import subprocess
import sys
import tempfile
import timeit

import numpy as np

SIZES = [(61, 51), (1000, 999)]
TOLERANCE = 1e-12
ROUNDS = 3
BATCHES = 15


def read_contour(path):
    """Points of a coordinate file, x normalised to 0..1, and the nose index."""
    data = np.loadtxt(path, skiprows=2, usecols=(1, 2))
    x, y = data[:, 0], data[:, 1]
    xmin = x.min()
    chord = x.max() - xmin
    x = (x - xmin) / chord
    return x, y, int(np.argmin(x))


def redistribute(x, y, ile, ni):
    """The along-chord route with linear interpolation, as a user scripts it."""
    u = np.arccos(2 * x - 1)
    u[ile:] = 2 * np.pi - u[ile:]
    ui = np.linspace(0, 2 * np.pi, ni)
    xi = (np.cos(ui) + 1) / 2
    yi = np.interp(ui, u, y)
    middle = (ni + 1) // 2 - 1  # odd ni: the middle point pairs with itself
    xc = (xi[middle::-1] + xi[middle:]) / 2
    yc = (yi[middle::-1] + yi[middle:]) / 2
    return xi, yi, xc, yc


def time_numpy(x, y, ile, ni):
    timer = timeit.Timer(lambda: redistribute(x, y, ile, ni))
    number, _ = timer.autorange()  # at least 0.2 s per batch
    number = max(1, number // 4)
    return [t / number * 1e9 for t in timer.repeat(repeat=BATCHES, number=number)]


def run_engine(tool, path, ni, repeats):
    """Our median time of one run (ns) and our new points and camber line."""
    out = subprocess.run([tool, "run", path, str(ni), str(repeats)], check=True,
                         capture_output=True, text=True).stdout.splitlines()
    assert out[0].startswith("run_ns ")
    run_ns = float(out[0].split()[1])
    split = out.index("camber")
    points = np.array([[float(v) for v in line.split()] for line in out[1:split]])
    camber = np.array([[float(v) for v in line.split()] for line in out[split + 1:]])
    return run_ns, points[:, 0], points[:, 1], camber[:, 0], camber[:, 1]


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    build = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "build-bench")
    tool = os.path.join(build, "bench", "quilane_compare_engine")
    if not os.access(tool, os.X_OK):
        sys.exit(f"{tool} not found: build the target quilane_compare_engine first")
    for name in ("OPENBLAS_CORETYPE", "OPENBLAS_L2_SIZE"):
        if name in os.environ:
            print(f"note: {name} is set; numpy may be slower than it can be")

    failed = False
    print(f"numpy {np.__version__}; medians of {BATCHES} batches x {ROUNDS} rounds")
    print(f"{'N':>5} {'NI':>4} {'numpy us':>10} {'ours us':>9} {'ratio':>7} {'max diff':>10}")
    with tempfile.TemporaryDirectory() as folder:
        for n, ni in SIZES:
            path = os.path.join(folder, f"naca4412-{n}.arf")
            subprocess.run([tool, "contour", str(n), path], check=True)
            x, y, ile = read_contour(path)

            numpy_ns, ours_ns = [], []
            repeats = 20000 if n < 500 else 2000
            for _ in range(ROUNDS):
                numpy_ns += time_numpy(x, y, ile, ni)
                run_ns, *ours = run_engine(tool, path, ni, repeats)
                ours_ns.append(run_ns)

            theirs = redistribute(x, y, ile, ni)
            diff = max(float(np.max(np.abs(a - b))) for a, b in zip(theirs, ours))
            numpy_median = statistics.median(numpy_ns)
            ours_median = statistics.median(ours_ns)
            print(f"{n:>5} {ni:>4} {numpy_median / 1e3:>10.2f} {ours_median / 1e3:>9.2f} "
                  f"{numpy_median / ours_median:>7.2f} {diff:>10.2e}")
            if not diff <= TOLERANCE:
                print(f"  results differ by {diff:.3e}, more than {TOLERANCE:g}")
                failed = True
    sys.exit(1 if failed else 0)


if __name__ == "__main__":
    main()

#!/usr/bin/python3
"""redistribute_many on one thread and on several, in one run.

The sections are every file of samples/, ../shared/airfoils/ and
../shared/airfoil-database-sample/ that loads (about 240), read once (not
timed). Each round times redistribute_many over all of them with threads=1,
then threads=2, ... up to the number of processors this process may use, for
two settings: conformal mapping with the piecewise cubic spline and n = 201,
and the route along the chord with Lagrange and n = 201 (a refusal is an
answer like a result). A figure is the median of 5 rounds, each the best of 3
runs, and the ratio is threads=1's median over the other's: the speed-up.
Before timing, every threaded answer is checked against the serial one.
The same rounds time a loop of redistribute() calls in Python, alone and
spread over a ThreadPoolExecutor of as many workers: the interpreter lock is
released while the engine runs, so Python's own threads gain too.

Usage (the package importable, e.g. from a release build tree):

  PYTHONPATH=build-bench/src/python /usr/bin/python3 bench/python_many.py
"""
import concurrent.futures
import os
import pathlib
import statistics
import sys
import time

import numpy as np

import quilane

ROOT = pathlib.Path(__file__).resolve().parent.parent
FOLDERS = [ROOT / "samples", ROOT.parent / "shared" / "airfoils",
           ROOT.parent / "shared" / "airfoil-database-sample"]
SETTINGS = {"mapping, pwcubic, n=201": dict(n=201, mapping=True, method="pwcubic"),
            "along the chord, lagrange, n=201": dict(n=201)}
ROUNDS, RUNS = 5, 3


def sections():
    loaded = []
    for folder in FOLDERS:
        for path in sorted(p for p in folder.rglob("*") if p.is_file() and p.suffix != ".md"):
            try:
                loaded.append(quilane.load(path))
            except quilane.Error:
                pass
    return loaded


def same(a, b):
    if isinstance(a, quilane.Error):
        return isinstance(b, quilane.Error) and str(a) == str(b)
    return not isinstance(b, quilane.Error) and np.array_equal(a.xy, b.xy)


def one(section, settings):
    try:
        return quilane.redistribute(section, **settings)
    except quilane.Error as error:
        return error


def many_in_python(given, threads, settings):
    if threads == 1:
        return [one(s, settings) for s in given]
    with concurrent.futures.ThreadPoolExecutor(threads) as pool:
        return list(pool.map(lambda s: one(s, settings), given))


def best_time(run, given, threads, settings):
    times = []
    for _ in range(RUNS):
        start = time.perf_counter()
        run(given, threads, settings)
        times.append(time.perf_counter() - start)
    return min(times)


def in_cxx(given, threads, settings):
    return quilane.redistribute_many(given, threads=threads, **settings)


def report(title, counts, rounds):
    medians = {t: statistics.median(rounds[t]) for t in counts}
    print(f"  {title}")
    for t in counts:
        line = f"    threads={t}: {medians[t] * 1e3:7.1f} ms"
        if t > 1:
            per_round = [a / b for a, b in zip(rounds[1], rounds[t])]
            line += (f"   speed-up {medians[1] / medians[t]:.2f}x (per round: "
                     + ", ".join(f"{r:.2f}" for r in per_round) + ")")
        print(line)


def main():
    given = sections()
    processors = len(os.sched_getaffinity(0))
    counts = list(range(1, max(processors, 2) + 1))
    print(f"{len(given)} sections, {processors} processors, quilane {quilane.__version__}")
    for name, settings in SETTINGS.items():
        serial = quilane.redistribute_many(given, threads=1, **settings)
        for threads in counts[1:]:
            answers = quilane.redistribute_many(given, threads=threads, **settings)
            if not all(same(a, b) for a, b in zip(answers, serial)):
                sys.exit(f"threads={threads} answered otherwise than threads=1 ({name})")
        runs = {"redistribute_many": in_cxx, "redistribute in a ThreadPoolExecutor": many_in_python}
        rounds = {name: {t: [] for t in counts} for name in runs}
        for _ in range(ROUNDS):
            for run_name, run in runs.items():
                for t in counts:
                    rounds[run_name][t].append(best_time(run, given, t, settings))
        print(f"\n{name}")
        for run_name in runs:
            report(run_name, counts, rounds[run_name])

if __name__ == "__main__":
    main()

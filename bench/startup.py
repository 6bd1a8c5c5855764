#!/usr/bin/python3
"""Time from process start to the first painted window.

Starts the window program QuilaneConfMap RUNS times with
QUILANE_QUIT_AFTER_FIRST_PAINT=1 (it then ends itself once its window has
been painted) under Qt's offscreen platform, unless QT_QPA_PLATFORM says
otherwise. The clock is read just before the process is started; the program
prints the wall-clock time at which the window's first paint event arrived
and at which the event loop came back with that frame complete, and the
script notes when the process had ended. Prints each run and the medians.

  /usr/bin/python3 bench/startup.py [BUILD_DIR] [RUNS]

BUILD_DIR defaults to build-bench beside this folder's parent; RUNS to 21.
"""

import os
import statistics
import subprocess
import sys
import time


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    build = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "build-bench")
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 21
    tool = os.path.join(build, "src", "app", "QuilaneConfMap")
    if not os.access(tool, os.X_OK):
        sys.exit(f"{tool} not found: configure with the window and build QuilaneConfMap")
    env = dict(os.environ)
    env.setdefault("QT_QPA_PLATFORM", "offscreen")
    env["QUILANE_QUIT_AFTER_FIRST_PAINT"] = "1"

    first, painted, ended = [], [], []
    for run in range(runs):
        start = time.time_ns()
        out = subprocess.run([tool], env=env, check=True, capture_output=True, text=True).stdout
        stop = time.time_ns()
        values = dict(line.split() for line in out.splitlines() if line)
        first.append((int(values["first_paint_ns"]) - start) / 1e6)
        painted.append((int(values["painted_ns"]) - start) / 1e6)
        ended.append((stop - start) / 1e6)
        print(f"run {run + 1:2}: first paint event {first[-1]:7.1f} ms, "
              f"frame complete {painted[-1]:7.1f} ms, process ended {ended[-1]:7.1f} ms")
    print(f"platform {env['QT_QPA_PLATFORM']}; median of {runs}: first paint event "
          f"{statistics.median(first):.1f} ms, frame complete {statistics.median(painted):.1f} ms, "
          f"process ended {statistics.median(ended):.1f} ms")


if __name__ == "__main__":
    main()

#!/usr/bin/python3
"""Markdown tables of the medians in Google Benchmark JSON output.

  /usr/bin/python3 bench/report.py RESULT.json [BEFORE.json]

RESULT.json comes from a run with --benchmark_repetitions=R (R >= 3) and
--benchmark_out=RESULT.json --benchmark_out_format=json. For each benchmark
the table shows the median processor time and the median wall-clock time of
the repetitions; with BEFORE.json (the same benchmarks from another build)
it adds that build's median processor time and the ratio before / now.
"""

import json
import sys


def medians(path):
    with open(path) as f:
        data = json.load(f)
    result = {}
    for b in data["benchmarks"]:
        if b.get("aggregate_name") != "median":
            continue
        scale = {"ns": 1e-3, "us": 1.0, "ms": 1e3}[b["time_unit"]]
        result[b["run_name"]] = (b["cpu_time"] * scale, b["real_time"] * scale,
                                 b.get("allocs"), b.get("label", ""))
    return data["context"], result


def main():
    context, now = medians(sys.argv[1])
    before = medians(sys.argv[2])[1] if len(sys.argv) > 2 else {}
    print(f"<!-- {context.get('date', '')}, {context.get('num_cpus')} CPUs at "
          f"{context.get('mhz_per_cpu')} MHz, load {context.get('load_avg')} -->")
    header = "| benchmark | processor µs | wall µs | allocs |"
    rule = "|---|---:|---:|---:|"
    if before:
        header += " before µs | before / now |"
        rule += "---:|---:|"
    print(header)
    print(rule)
    for name, (cpu, real, allocs, label) in now.items():
        shown = name.replace("BM_", "") + (f" ({label})" if label else "")
        allocs_text = "" if allocs is None else f"{allocs:g}"
        line = f"| {shown} | {cpu:.2f} | {real:.2f} | {allocs_text} |"
        if before:
            if name in before:
                line += f" {before[name][0]:.2f} | {before[name][0] / cpu:.1f} |"
            else:
                line += " | |"
        print(line)


if __name__ == "__main__":
    main()

#!/usr/bin/python3
"""Contour maps of sin(X)*cos(Y) on a 400 x 400 grid over -5..5 x -5..5 with 10 levels, measured
side by side in one run: Mirla's tracing against contourpy's "serial" tracer on the same grid and
levels, Mirla's whole contour request against gnuplot drawing the same map to a 1200 x 800 PNG, and
Mirla's shading redraw against QCustomPlot's colour map (both inside mirla_plot_bench).

Tracing and the whole request are compared in processor time (the fastest of several runs), so
that other work on a shared machine weighs little; gnuplot's is the time of its process. The
redraws are compared in elapsed time: QCustomPlot scales its picture in Qt's worker threads, whose
time the benchmark thread's clock does not see.

Usage: bench/contour_peers.py build/bench/mirla_plot_bench
"""
import json
import os
import resource
import subprocess
import sys
import tempfile
import time

import numpy as np
from contourpy import contour_generator

STEPS = 400
LEVELS = 10
REPEATS = 30


def best_of(action, repeats, clock=time.process_time):
    times = []
    for _ in range(repeats):
        start = clock()
        action()
        times.append(clock() - start)
    return min(times) * 1000, sorted(times)[len(times) // 2] * 1000


def children_cpu():
    usage = resource.getrusage(resource.RUSAGE_CHILDREN)
    return usage.ru_utime + usage.ru_stime


def contourpy_ms():
    axis = np.linspace(-5, 5, STEPS)
    x, y = np.meshgrid(axis, axis)
    z = np.sin(x) * np.cos(y)
    # Mirla's automatic levels: from the minimum, (max - min) / n apart.
    low, high = float(z.min()), float(z.max())
    levels = [low + (high - low) / LEVELS * i for i in range(LEVELS)]

    def trace():
        generator = contour_generator(x, y, z, name="serial", line_type="Separate")
        for level in levels:
            generator.lines(level)

    return best_of(trace, REPEATS)


def gnuplot_ms():
    with tempfile.TemporaryDirectory() as folder:
        output = os.path.join(folder, "map.png")
        script = (
            f"set terminal pngcairo size 1200,800; set output '{output}'; "
            "set view map; unset surface; set contour base; "
            f"set cntrparam levels {LEVELS}; set isosamples {STEPS},{STEPS}; set samples {STEPS},{STEPS}; "
            "splot [-5:5][-5:5] sin(x)*cos(y) notitle"
        )
        return best_of(lambda: subprocess.run(["gnuplot", "-e", script], check=True), 3, children_cpu)


def mirla_ms(bench):
    result = subprocess.run(
        [bench, "--benchmark_filter=Contour|Shading|ColorMap", "--benchmark_format=json",
         "--benchmark_repetitions=5"],
        check=True, capture_output=True, text=True)
    # The fastest repetition, as for the peers: the machine is shared with other work.
    best = {}
    for run in json.loads(result.stdout)["benchmarks"]:
        if run.get("run_type") == "iteration":
            clock = "real_time" if "Shading" in run["run_name"] or "ColorMap" in run["run_name"] else "cpu_time"
            name = run["run_name"]
            best[name] = min(best.get(name, run[clock]), run[clock])
    return best


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    mirla = mirla_ms(sys.argv[1])
    trace_best, trace_median = contourpy_ms()
    gnuplot_best, _ = gnuplot_ms()
    rows = [
        ("tracing, 10 levels", mirla["BM_MirlaContourTrace"], "contourpy serial", trace_best,
         "Mirla within 1.5x"),
        ("whole contour request", mirla["BM_MirlaContourRequest"], "gnuplot to PNG", gnuplot_best,
         "gnuplot at least 10x"),
        ("shading redraw, new picture", mirla["BM_MirlaShadingRedraw/fresh:1"], "QCustomPlot colour map",
         mirla["BM_QCustomPlotColorMap/fresh:1"], "Mirla no slower"),
        ("shading redraw, same view", mirla["BM_MirlaShadingRedraw/fresh:0"], "QCustomPlot colour map",
         mirla["BM_QCustomPlotColorMap/fresh:0"], "Mirla no slower"),
    ]
    print(f"contourpy median {trace_median:.2f} ms")
    print(f"{'what':26} {'Mirla ms':>10}  {'peer':24} {'peer ms':>10} {'Mirla/peer':>11}  target")
    for what, ours, peer, theirs, target in rows:
        print(f"{what:26} {ours:10.2f}  {peer:24} {theirs:10.2f} {ours / theirs:11.2f}  {target}")


if __name__ == "__main__":
    main()

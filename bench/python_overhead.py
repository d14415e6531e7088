"""Cost of calling an operator from Python over the same core call, at one megapixel.

A plain timing script (no pytest, no Google Benchmark). Each call is timed around
the module function, conversions in and out included; the module also reports how
long the core call inside it took (ivra._last_core_ms(), the CLI step that ivra-cli
runs, timed in C++ around the same call), so both come from the same process with
the same warm memory. The overhead is the smallest difference of one call's two
times over several runs (on a busy machine a call may be interrupted in either
part); "first" is that of the first call, which converts into fresh memory.

With --threads 1 the whole call runs on the calling thread, and the processor time
of that thread is compared as well (time.thread_time() against
ivra._last_core_cpu_ms()): on a loaded machine it is the steadier figure.

    PYTHONPATH=build/release/src/python /usr/bin/python3 bench/python_overhead.py [PICTURE] [--threads N]

PICTURE defaults to a synthetic 1024 x 1024 colour picture.
"""
import argparse
import time

import numpy as np

import ivra

RUNS = 15


def timed(function, image, threads):
    """One call: wall and processor ms from Python, wall and processor ms of its core call."""
    start, cpu = time.perf_counter(), time.thread_time()
    function(image, threads=threads)
    python, python_cpu = (time.perf_counter() - start) * 1000, (time.thread_time() - cpu) * 1000
    return python, python_cpu, ivra._last_core_ms(), ivra._last_core_cpu_ms()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("picture", nargs="?")
    parser.add_argument("--threads", type=int, default=None)
    args = parser.parse_args()
    if args.picture:
        rgb = ivra.load(args.picture)
    else:
        rng = np.random.default_rng(1)
        rgb = np.repeat(np.repeat(rng.integers(0, 256, (64, 64, 3), np.uint8), 16, 0), 16, 1)
    hsv, gray = ivra.hsv(rgb), np.ascontiguousarray(rgb[..., 1])
    calls = [("hsv", rgb), ("rgb", hsv), ("split", rgb), ("split", hsv), ("histogram", gray),
             ("color_histogram", rgb), ("gauss", rgb), ("salt_pepper", rgb), ("kuwahara", rgb), ("snn", rgb),
             ("region_growing", rgb), ("csc", rgb), ("rhs", rgb), ("smg", rgb)]
    single = args.threads == 1
    print(f"picture {rgb.shape[1]} x {rgb.shape[0]}, best of {RUNS}, threads = {args.threads or 'all cores'}")
    print(f"{'operator':16} {'input':16} {'core ms':>8} {'Python ms':>10} {'overhead ms':>12} {'first':>6}"
          + (f" {'core cpu':>9} {'overhead cpu':>13}" if single else ""))
    for name, image in calls:
        function = getattr(ivra, name)
        runs = [timed(function, image, args.threads) for _ in range(RUNS)]
        python, core = min(r[0] for r in runs), min(r[2] for r in runs)
        overhead, first = min(r[0] - r[2] for r in runs), runs[0][0] - runs[0][2]
        kind = f"{image.dtype} {'(H, W, 3)' if image.ndim == 3 else '(H, W)'}"
        line = f"{name:16} {kind:16} {core:8.2f} {python:10.2f} {overhead:12.2f} {first:6.2f}"
        if single:
            line += f" {min(r[3] for r in runs):9.2f} {min(r[1] - r[3] for r in runs):13.2f}"
        print(line)


if __name__ == "__main__":
    main()

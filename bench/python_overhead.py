"""Cost of calling an operator from Python over the same core call, at one megapixel.

A plain timing script (no pytest, no Google Benchmark). Each call is timed around
the module function, conversions in and out included; the module also reports how
long the core call inside it took (ivra._last_core_ms(), the CLI step that ivra-cli
runs, timed in C++), so both come from the same process with the same warm memory.
Each figure is the best of several runs.

    PYTHONPATH=build/release/src/python /usr/bin/python3 bench/python_overhead.py [PICTURE]

PICTURE defaults to a synthetic 1024 x 1024 colour picture.
"""
import sys
import time

import numpy as np

import ivra

RUNS = 15


def best_of(function, image, kwargs):
    """The fastest call from Python, the fastest core call, and the smallest difference of one call's two
    times (on a busy machine a call may be interrupted in either part)."""
    python, core, overhead = [], [], []
    for _ in range(RUNS):
        start = time.perf_counter()
        function(image, **kwargs)
        python.append((time.perf_counter() - start) * 1000)
        core.append(ivra._last_core_ms())
        overhead.append(python[-1] - core[-1])
    return min(python), min(core), min(overhead)


def main():
    if len(sys.argv) > 1:
        rgb = ivra.load(sys.argv[1])
    else:
        rng = np.random.default_rng(1)
        rgb = np.repeat(np.repeat(rng.integers(0, 256, (64, 64, 3), np.uint8), 16, 0), 16, 1)
    hsv, gray = ivra.hsv(rgb), np.ascontiguousarray(rgb[..., 1])
    calls = [("split", rgb, {}), ("hsv", rgb, {}), ("rgb", hsv, {}), ("histogram", gray, {}), ("gauss", rgb, {}),
             ("snn", rgb, {}), ("csc", rgb, {}), ("region_growing", rgb, {}), ("smg", rgb, {})]
    print(f"picture {rgb.shape[1]} x {rgb.shape[0]}, best of {RUNS}, threads = all cores")
    print(f"{'operator':16} {'input':16} {'core ms':>8} {'Python ms':>10} {'overhead ms':>12}")
    for name, image, kwargs in calls:
        python, core, overhead = best_of(getattr(ivra, name), image, kwargs)
        kind = f"{image.dtype} {'(H, W, 3)' if image.ndim == 3 else '(H, W)'}"
        print(f"{name:16} {kind:16} {core:8.2f} {python:10.2f} {overhead:12.2f}")


if __name__ == "__main__":
    main()

"""Cost of calling an operator from Python over the same core call, at one megapixel.

A plain timing script (no pytest, no Google Benchmark): the core call is timed by
ivra-cli itself (its --json summary gives each step's time, parameters included,
loading and writing excluded); the Python call is timed around the module function,
so its conversions in and out are included. Both take the best of several runs.

    PYTHONPATH=build/release/python /usr/bin/python3 bench/python_overhead.py \
        build/release/src/ivra-cli [PICTURE]

PICTURE defaults to a synthetic 1000 x 1000 colour picture.
"""
import json
import subprocess
import sys
import tempfile
import time
from pathlib import Path

import numpy as np

import ivra

CALLS = [("hsv", {}), ("split", {"channel": "green"}), ("gauss", {}), ("csc", {}), ("region_growing", {})]


def best_cli_ms(cli, source, step, kwargs, runs):
    pairs = ",".join(f"{k.replace('_', '-')}={v}" for k, v in kwargs.items())
    best = float("inf")
    with tempfile.TemporaryDirectory() as tmp:
        for _ in range(runs):
            done = subprocess.run([cli, str(source), step + (":" + pairs if pairs else ""), "-o",
                                   str(Path(tmp) / "out.npy"), "--json"], capture_output=True, text=True, check=True)
            best = min(best, json.loads(done.stdout)["steps"][0]["ms"])
    return best


def best_python_ms(function, image, kwargs, runs):
    best = float("inf")
    for _ in range(runs):
        start = time.perf_counter()
        function(image, **kwargs)
        best = min(best, (time.perf_counter() - start) * 1000)
    return best


def main():
    cli = sys.argv[1]
    runs = 9
    with tempfile.TemporaryDirectory() as tmp:
        if len(sys.argv) > 2:
            image = ivra.load(sys.argv[2])
        else:
            rng = np.random.default_rng(1)
            image = np.repeat(np.repeat(rng.integers(0, 256, (50, 50, 3), np.uint8), 20, 0), 20, 1)
        source = Path(tmp) / "in.npy"
        ivra.save(source, image)
        print(f"picture {image.shape[1]} x {image.shape[0]}, best of {runs}, threads = all cores")
        print(f"{'operator':16} {'core ms':>9} {'Python ms':>10} {'overhead ms':>12}")
        for name, kwargs in CALLS:
            core = best_cli_ms(cli, source, name.replace("_", "-"), kwargs, runs)
            python = best_python_ms(getattr(ivra, name), image, kwargs, runs)
            print(f"{name:16} {core:9.2f} {python:10.2f} {python - core:12.2f}")


if __name__ == "__main__":
    main()

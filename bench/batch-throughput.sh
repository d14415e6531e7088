#!/usr/bin/env bash
# Batch throughput of ivra-cli: COUNT one-megapixel pictures (copies of the sample
# made in a temporary folder) through a three-step recipe, --jobs 1 against
# --jobs 2, one thread per job. Prints for both the pictures per second, the CPU
# time per picture (user + system: the figure to compare on a busy machine) and
# how a picture's time splits into load, steps, save and the rest (the batch's
# time per picture less the three: start, checks, summary, progress, freeing).
#   bench/batch-throughput.sh [IVRA_CLI] [COUNT] [SAMPLE]   (SAMPLE: a one-megapixel picture)
set -euo pipefail
cli=${1:-build/release/src/ivra-cli}
count=${2:-200}
sample=${3:-$(dirname "$0")/../../shared/samples/retina-1mp.png}
work=$(mktemp -d /tmp/ivra-batch.XXXXXX)
trap 'rm -rf "$work"' EXIT
mkdir "$work/in" "$work/out"
for i in $(seq -w 1 "$count"); do cp "$sample" "$work/in/p$i.png"; done
"$cli" --print-recipe hsv rgb csc > "$work/recipe.json"
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores"

python3 - "$cli" "$work" <<'PY'
import glob, json, resource, subprocess, sys, time

cli, work = sys.argv[1], sys.argv[2]
inputs = sorted(glob.glob(f"{work}/in/*.png"))
rate = {}
for jobs in (1, 2):
    for old in glob.glob(f"{work}/out/*"):
        subprocess.run(["rm", "-f", old], check=True)
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    start = time.monotonic()
    out = subprocess.run([cli, "--recipe", f"{work}/recipe.json", *inputs, "-o", f"{work}/out/{{stem}}.png",
                          "--json", "--jobs", str(jobs), "--threads", "1"],
                         stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, check=True, text=True).stdout
    wall = (time.monotonic() - start) * 1000
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    cpu = (after.ru_utime - before.ru_utime + after.ru_stime - before.ru_stime) * 1000
    rows = [json.loads(line) for line in out.splitlines()]
    n = len(rows)
    load = sum(r["load_ms"] for r in rows) / n
    steps = sum(s["ms"] for r in rows for s in r["steps"]) / n
    save = sum(r["save_ms"] for r in rows) / n
    rest = wall * jobs / n - load - steps - save
    rate[jobs] = n * 1000 / wall
    print(f"--jobs {jobs}: {n} pictures in {wall / 1000:.1f} s = {rate[jobs]:.2f} pictures/s, "
          f"CPU {cpu / n:.1f} ms per picture")
    print(f"  per picture and job: load {load:.1f} ms, steps {steps:.1f} ms, save {save:.1f} ms, rest {rest:.1f} ms")
print(f"--jobs 2 / --jobs 1: {rate[2] / rate[1]:.2f}x")
PY

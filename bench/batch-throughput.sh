#!/usr/bin/env bash
# Batch throughput of ivra-cli: 200 one-megapixel pictures (copies of the sample
# made in a temporary folder) through a three-step recipe, --jobs 1 against
# --jobs 2, one thread per job. Prints pictures per second for both and, for
# --jobs 1, how a picture's time splits into load, steps, save and the rest.
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
threads=()
"$cli" --help | grep -q -- '--threads' && threads=(--threads 1)

for jobs in 1 2; do
  rm -f "$work/out"/*
  start=$(date +%s.%N)
  "$cli" --recipe "$work/recipe.json" "$work"/in/*.png -o "$work/out/{stem}.png" --json --jobs "$jobs" \
    "${threads[@]}" > "$work/jobs$jobs.jsonl" 2> /dev/null
  end=$(date +%s.%N)
  python3 - "$work/jobs$jobs.jsonl" "$start" "$end" "$jobs" <<'PY'
import json, sys
rows = [json.loads(line) for line in open(sys.argv[1])]
wall = (float(sys.argv[3]) - float(sys.argv[2])) * 1000
n = len(rows)
load = sum(r["load_ms"] for r in rows) / n
steps = sum(s["ms"] for r in rows for s in r["steps"]) / n
save = sum(r["save_ms"] for r in rows) / n
print(f"--jobs {sys.argv[4]}: {n} pictures in {wall / 1000:.1f} s = {n * 1000 / wall:.2f} pictures/s")
if sys.argv[4] == "1":
    rest = wall / n - load - steps - save
    print(f"  per picture: load {load:.1f} ms, steps {steps:.1f} ms, save {save:.1f} ms, rest {rest:.1f} ms")
PY
done

#!/usr/bin/env bash
# Line coverage of src/ by the tests: a Debug build with --coverage in
# build/coverage, the tests run by CTest there, then one line per folder.
#   scripts/coverage.sh                  every test program
#   scripts/coverage.sh ivra_io_tests    only the named test programs (faster)
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh

dir=build/coverage
jobs=${IVRA_JOBS:-2}
export QT_QPA_PLATFORM=offscreen

cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DIVRA_BUILD_BENCH=OFF \
  -DCMAKE_CXX_FLAGS=--coverage -DCMAKE_EXE_LINKER_FLAGS=--coverage \
  -DCMAKE_CXX_COMPILER_LAUNCHER=ccache >/dev/null

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  cmake --build "$dir" --parallel "$jobs"
  filter=()
else
  cmake --build "$dir" --parallel "$jobs" --target "${targets[@]}"
  filter=(-R "^($(IFS='|'; echo "${targets[*]}"))\$")
fi

# Counters of earlier runs would add to this one's; notes of sources that are
# gone would be reported as missing files.
find "$dir" -name '*.gcda' -delete
ninja -C "$dir" -t cleandead >/dev/null
find "$dir" -name '*.gcno' | while read -r notes; do
  [ -e "${notes%.gcno}.o" ] || rm -f "$notes"
done
ctest --test-dir "$dir" --output-on-failure "${filter[@]}"

summary="$dir/coverage-summary.json"
gcovr --root . --filter 'src/' --json-summary "$summary" -j "$jobs" "$dir" >/dev/null 2>"$dir/gcovr.log" ||
  { cat "$dir/gcovr.log"; exit 1; }

# Files of src/ with their line counts, summed per folder: src/core/<part>,
# src/io, src/gui, src/cli, and src/main.cpp on its own.
python3 - "$summary" <<'PY'
import json, sys

def folder(path):
    parts = path.split('/')
    if parts[1] == 'core' and len(parts) > 3:
        return '/'.join(parts[:3])
    if parts[1] in ('io', 'gui', 'cli'):
        return '/'.join(parts[:2])
    return path

totals = {}
for f in json.load(open(sys.argv[1]))['files']:
    covered, total = totals.get(folder(f['filename']), (0, 0))
    totals[folder(f['filename'])] = (covered + f['line_covered'], total + f['line_total'])

print(f"{'folder':<20} {'lines':>7} {'covered':>8} {'percent':>8}")
all_covered = all_total = 0
for name in sorted(totals):
    covered, total = totals[name]
    all_covered += covered
    all_total += total
    print(f"{name:<20} {total:>7} {covered:>8} {100.0 * covered / max(total, 1):>7.1f}%")
print(f"{'src (all)':<20} {all_total:>7} {all_covered:>8} {100.0 * all_covered / max(all_total, 1):>7.1f}%")
PY
echo "Per-file details: gcovr --root . --filter src/ $dir"

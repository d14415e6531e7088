#!/usr/bin/env bash
# Runs a libFuzzer target under ASan + UBSan, starting from its seed corpus.
#   scripts/fuzz.sh TARGET SECONDS     TARGET: picture_reader, netpbm, npy, cli_arguments, or all
# New inputs collect in build/fuzz/corpus/TARGET (the seeds in fuzz/corpus stay as
# they are); a crashing input is written to build/fuzz/crashes/ and the script fails.
set -euo pipefail
cd "$(dirname "$0")/.."

targets=(picture_reader netpbm npy cli_arguments)
target=${1:?usage: scripts/fuzz.sh TARGET SECONDS}
seconds=${2:?usage: scripts/fuzz.sh TARGET SECONDS}
[ "$target" = all ] || targets=("$target")

dir=build/fuzz
if [ ! -f "$dir/build.ninja" ]; then
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
    -DIVRA_FUZZ=ON -DIVRA_SANITIZE=ON -DIVRA_BUILD_TESTS=OFF -DIVRA_BUILD_BENCH=OFF >/dev/null
fi
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/scripts/lsan.supp
export QT_QPA_PLATFORM=offscreen
for t in "${targets[@]}"; do
  cmake --build "$dir" --parallel "$(nproc)" --target "fuzz_$t"
  mkdir -p "$dir/corpus/$t" "$dir/crashes"
  # close_fd_mask=2: decoder libraries' complaints are dropped; libFuzzer's and the sanitizers' reports stay.
  "$dir/fuzz/fuzz_$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -close_fd_mask=2 \
    -artifact_prefix="$dir/crashes/$t-" "$dir/corpus/$t" "fuzz/corpus/$t"
done

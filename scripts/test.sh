#!/usr/bin/env bash
# Builds Ivra and runs every test: a release build, then (unless IVRA_SKIP_SANITIZE=1)
# the same tests built with AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh

jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen

build_and_test() {
  local dir=$1; shift
  cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
  cmake --build "$dir" --parallel "$jobs"
  ctest --test-dir "$dir" --output-on-failure --parallel "$jobs"
}

build_and_test build/release -DCMAKE_BUILD_TYPE=Release

# The plain paths beside the vector code, on whole pictures: core tests only.
cmake -S . -B build/scalar -G Ninja -DCMAKE_BUILD_TYPE=Release -DIVRA_SIMD=OFF -DIVRA_BUILD_BENCH=OFF >/dev/null
cmake --build build/scalar --parallel "$jobs" --target ivra_core_tests
build/scalar/tests/ivra_core_tests

# The parallel kernels under ThreadSanitizer: clang with its OpenMP runtime, whose
# tool interface (archer) tells the sanitizer about the runtime's own synchronisation.
# Core tests only; memory limits mean nothing under the sanitizer's allocator.
cmake -S . -B build/tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ -DIVRA_TSAN=ON \
  -DIVRA_BUILD_BENCH=OFF >/dev/null
cmake --build build/tsan --parallel "$jobs" --target ivra_core_tests
OMP_TOOL_LIBRARIES=$(llvm-config-14 --libdir)/libarcher.so TSAN_OPTIONS=halt_on_error=1:ignore_noninstrumented_modules=1 \
  build/tsan/tests/ivra_core_tests --gtest_filter='-OutOfMemory.*'

if [ "${IVRA_SKIP_SANITIZE:-0}" != 1 ]; then
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
  export LSAN_OPTIONS=suppressions=$PWD/scripts/lsan.supp
  build_and_test build/sanitize -DCMAKE_BUILD_TYPE=Debug -DIVRA_SANITIZE=ON -DIVRA_BUILD_BENCH=OFF
fi

# Every fuzz target briefly, under ASan + UBSan (long runs: scripts/fuzz.sh TARGET SECONDS).
if [ "${IVRA_SKIP_FUZZ:-0}" != 1 ]; then
  bash scripts/fuzz.sh all 20
fi

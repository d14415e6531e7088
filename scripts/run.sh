#!/usr/bin/env bash
# Builds Ivra and starts the workbench; arguments are pictures to open at start.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/release --parallel "$(nproc)" --target ivra ivra-cli
exec build/release/src/ivra "$@"

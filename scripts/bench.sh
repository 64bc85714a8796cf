#!/bin/bash
# Builds the load benchmark in a Release build directory and runs it:
# generates captures of 50,000 and 200,000 samples x 30 markers in a
# temporary folder (about 200 MB, removed afterwards), loads them with the
# project's reader and, in the same run, with pandas read_csv (Debian's
# python3-pandas, installed here) and a plain fgets + strtod reader, and
# prints the times, their ratios and the targets.
# Usage: scripts/bench.sh [RUNS]    (default 5 runs of each reader per size)
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh --bench

cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DMARKER_VIEWER_SANITIZE=OFF
cmake --build build-bench --target load_benchmark -j2
build-bench/bench/load_benchmark "$@"

#!/bin/bash
# Builds the convert benchmark in a Release build directory and runs it:
# generates one motion of 200,000 frames x 30 markers in a temporary folder
# in every format capture-convert reads (each up to about 200 MB, with its
# capture beside it, removed afterwards), converts each and prints the MB
# per second against its target, beside a plain write of the same capture.
# Usage: scripts/bench-convert.sh [RUNS [FORMAT]]   (FORMAT: only the formats
# whose name starts with it, e.g. Motive)
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DMARKER_VIEWER_SANITIZE=OFF
cmake --build build-bench --target convert_benchmark -j2
build-bench/bench/convert_benchmark "$@"

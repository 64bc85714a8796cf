#!/bin/bash
# Builds the convert benchmark in a Release build directory and runs it:
# generates a C3D of 200,000 frames x 30 markers in a temporary folder (about
# 50 MB, with a capture file of about 200 MB beside it, removed afterwards),
# converts it and prints the MB of capture text written per second; then a
# Vicon Nexus CSV of 200,000 frames x 30 markers (about 200 MB, with its
# capture beside it), in MB of CSV read per second.
# Usage: scripts/bench-convert.sh [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DMARKER_VIEWER_SANITIZE=OFF
cmake --build build-bench --target convert_benchmark -j2
build-bench/bench/convert_benchmark "$@"

#!/bin/bash
# Builds the convert benchmark in a Release build directory and runs it:
# generates a C3D of 200,000 frames x 30 markers in a temporary folder (about
# 50 MB, with a capture file of about 200 MB beside it, removed afterwards),
# converts it and prints the MB of capture text written per second; then a
# BVH skeleton of 30 joints x 100,000 frames (about 78 MB, with a capture
# file of about 196 MB), in MB of BVH text read per second.
# Usage: scripts/bench-convert.sh [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DMARKER_VIEWER_SANITIZE=OFF
cmake --build build-bench --target convert_benchmark -j2
build-bench/bench/convert_benchmark "$@"

#!/bin/bash
# Builds the convert benchmark in a Release build directory and runs it:
# generates a C3D (about 110 MB) and a Qualisys TSV export (about 150 MB) of
# 200,000 frames x 30 markers in a temporary folder, with a capture file of
# about 150 MB beside them (all removed afterwards), converts each and prints
# the MB of capture text written (C3D) or of TSV read per second.
# Usage: scripts/bench-convert.sh [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DMARKER_VIEWER_SANITIZE=OFF
cmake --build build-bench --target convert_benchmark -j2
build-bench/bench/convert_benchmark "$@"

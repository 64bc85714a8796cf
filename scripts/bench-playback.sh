#!/bin/bash
# Builds the playback benchmark in a Release build directory and runs it on a
# virtual X display: plays a generated capture of 1,000 samples x 30 markers
# at 100 Hz with "Run" and prints the share of samples drawn and the wall time.
# Usage: scripts/bench-playback.sh [RUNS]    (default 3 runs of about 10 s)
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

cmake -S . -B build-bench-playback -DCMAKE_BUILD_TYPE=Release -DMARKER_VIEWER_SANITIZE=OFF
cmake --build build-bench-playback --target playback_benchmark -j2
xvfb-run -a -s "-screen 0 1280x1024x24" build-bench-playback/bench/playback_benchmark "$@"

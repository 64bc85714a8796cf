#!/bin/bash
# Builds the window benchmark in a Release build directory and runs it on a
# virtual X display of its own: capture-view's first picture of a generated
# 60,000 x 100 C3D against capture-convert without --fit on the same file.
# Usage: scripts/bench-window.sh [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DMARKER_VIEWER_SANITIZE=OFF
cmake --build build-bench --target window_benchmark -j2
xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" build-bench/bench/window_benchmark "$@"

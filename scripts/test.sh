#!/bin/bash
# Installs what is needed, builds the viewer twice (plain, and with
# AddressSanitizer + UndefinedBehaviorSanitizer) and runs the whole test
# suite in both builds on a virtual X display.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

run_suite() {
  local build_dir=$1
  shift
  cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
  cmake --build "$build_dir" -j2
  xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" \
    ctest --test-dir "$build_dir" --output-on-failure --timeout 300
}

run_suite build
# The program keeps its data until the process ends, by design: no leak checks.
ASAN_OPTIONS=detect_leaks=0 run_suite build-sanitize -DMARKER_VIEWER_SANITIZE=ON

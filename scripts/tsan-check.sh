#!/bin/bash
# Builds the converter's tests with ThreadSanitizer in build-tsan and runs
# those that form a capture's lines on two threads; any data race fails
# them. Slow to build, so it is run by hand, not by CI.
# Usage: scripts/tsan-check.sh
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMARKER_VIEWER_THREAD_SANITIZE=ON >/dev/null
cmake --build build-tsan --target convert_tests -j2
TSAN_OPTIONS="halt_on_error=1 die_after_fork=0" \
  build-tsan/tests/convert_tests --gtest_filter='TwoCoreConversion.*:FrameText.*:Fitting.*'

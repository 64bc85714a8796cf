#!/bin/bash
# Builds the motion data tests with ThreadSanitizer in build-tsan and runs
# the tests of the work done on two cores (loading and gap filling) and of
# the reader. Minutes on a busy machine, so not part of scripts/test.sh.
# Usage: scripts/tsan.sh
set -euo pipefail
cd "$(dirname "$0")/.."

cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMARKER_VIEWER_THREAD_SANITIZE=ON
cmake --build build-tsan --target data_tests -j2
# A report ends the program with status 66, so the test that ran it fails.
# The two tests that limit the address space are left out: ThreadSanitizer
# reserves more than they allow, as AddressSanitizer does.
TSAN_OPTIONS="halt_on_error=1 exitcode=66" \
  build-tsan/tests/data_tests --gtest_filter='TwoCoreLoad.*:GapFilling.*:Reader.*'\
'-Reader.ExhaustedMemoryPrintsOneLine:Reader.RecordLargerThanTheLimitEndsBeforeAnyStorage'

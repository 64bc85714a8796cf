#!/bin/bash
# Builds the tests with ThreadSanitizer in build-tsan and runs those of the
# work done on two threads: the viewer's loading and gap filling (with the
# reader's tests), and the converter forming a capture's lines. Any data
# race fails them. Minutes on a busy machine, so not part of scripts/test.sh.
# Usage: scripts/tsan.sh
set -euo pipefail
cd "$(dirname "$0")/.."

cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMARKER_VIEWER_THREAD_SANITIZE=ON >/dev/null
cmake --build build-tsan --target data_tests convert_tests -j2
# A report ends the program with status 66, so the test that ran it fails.
export TSAN_OPTIONS="halt_on_error=1 exitcode=66 die_after_fork=0"
# The two tests that limit the address space are left out: ThreadSanitizer
# reserves more than they allow, as AddressSanitizer does.
build-tsan/tests/data_tests --gtest_filter='TwoCoreLoad.*:GapFilling.*:Reader.*'\
'-Reader.ExhaustedMemoryPrintsOneLine:Reader.RecordLargerThanTheLimitEndsBeforeAnyStorage'
build-tsan/tests/convert_tests --gtest_filter='TwoCoreConversion.*:FrameText.*:Fitting.*'

#!/bin/bash
# Fuzzes with AFL++ for SECONDS (default 600) one of three targets:
#   capture  the capture file reader and gap filling (the loader program
#            load-capture, seeds fuzz/corpus/), the default;
#   c3d      the converter's C3D reader (the program read-c3d, seeds
#            fuzz/c3d-corpus/);
#   bvh      the converter's BVH reader (the program read-bvh, seeds
#            fuzz/bvh-corpus/).
# Builds the target with AFL++'s clang and AddressSanitizer +
# UndefinedBehaviorSanitizer in build-afl/, runs it once per input in a fresh
# process (a bad file ends the process with status 1, which counts as a
# normal end), then prints the figures and copies every crashing or hanging
# input into fuzz/regressions/ with its stack.
#   usage: scripts/fuzz.sh [SECONDS] [capture|c3d|bvh]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-600}
target=${2:-capture}
build_dir=build-afl
case $target in
  capture) program=load-capture corpus=fuzz/corpus dictionary=fuzz/capture.dict suffix=csv ;;
  c3d) program=read-c3d corpus=fuzz/c3d-corpus dictionary=fuzz/c3d.dict suffix=c3d ;;
  bvh) program=read-bvh corpus=fuzz/bvh-corpus dictionary=fuzz/bvh.dict suffix=bvh ;;
  *) echo "Error: unknown fuzzing target $target" >&2; exit 1 ;;
esac
findings=$build_dir/findings-$target

bash scripts/install-deps.sh --fuzz

CC=afl-clang-fast CXX=afl-clang-fast++ cmake -S . -B "$build_dir" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMARKER_VIEWER_SANITIZE=ON >/dev/null
cmake --build "$build_dir" -j2 --target "$program"
loader=$build_dir/fuzz/$program

# Sanitizer faults must abort, so that the fuzzer sees them as crashes; the
# program never frees its data by design, so leaks are not faults.
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1:symbolize=0
export UBSAN_OPTIONS=halt_on_error=1:abort_on_error=1:print_stacktrace=1:symbolize=0
export AFL_SKIP_CPUFREQ=1 AFL_I_DONT_CARE_ABOUT_MISSING_CRASHES=1 AFL_AUTORESUME=1
[ -t 1 ] || export AFL_NO_UI=1
afl-fuzz -i "$corpus" -o "$findings" -x "$dictionary" -t 1000 -V "$seconds" \
  -- "$loader" @@ >"$build_dir/afl-fuzz-$target.log" 2>&1 || {
  tail -30 "$build_dir/afl-fuzz-$target.log"
  exit 1
}

stats=$findings/default/fuzzer_stats
grep -E '^(run_time|execs_done|execs_per_sec|corpus_count|saved_crashes|saved_hangs|bitmap_cvg) ' "$stats"

# Every crash and hang becomes a regression input, named after its content,
# with the loader's symbolized report beside it.
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1:symbolize=1
export UBSAN_OPTIONS=halt_on_error=1:abort_on_error=1:print_stacktrace=1:symbolize=1
for input in "$findings"/default/crashes/id:* "$findings"/default/hangs/id:*; do
  [ -e "$input" ] || continue
  kind=$(basename "$(dirname "$input")")
  kept=fuzz/regressions/${kind%s}-$(sha1sum "$input" | cut -c1-12).$suffix
  [ -e "$kept" ] && continue
  cp "$input" "$kept"
  timeout 10 "$loader" "$kept" >"$build_dir/$(basename "$kept").report" 2>&1 || true
  echo "new regression input: $kept (report: $build_dir/$(basename "$kept").report)"
done

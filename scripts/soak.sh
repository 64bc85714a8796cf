#!/bin/bash
# Runs the tests that start programs or measure time RUNS times in a row in
# the sanitizer build while two busy loops compete for the cores, then prints
# for each test how many runs it had and how many failed. A test that fails
# here only now and then would fail CI by chance.
#
# usage: bash scripts/soak.sh [RUNS] [CTEST_REGEX]
#   RUNS         rounds of the whole set, default 50
#   CTEST_REGEX  the tests (ctest -R), default: those that start programs
#                (capture-convert, capture-view, load-capture, marker-viewer, forked
#                children) or time a playback; the mutation sweeps, minutes
#                each, only when named: '^(MutationSweep|C3dMutationSweep)\.'
# The output of every round with a failure is kept in build-sanitize/soak/.
set -euo pipefail
cd "$(dirname "$0")/.."

runs=${1:-50}
pattern=${2:-'^(ConvertProgram|CaptureView|ChildProcess|TwoCoreConversion|Program|PlaybackOnScreen|StartupInput|LoaderVerdict|Reader|RecordMemory|MarkerView|MarkerViewWithNewData)\.'}
build_dir=build-sanitize
log_dir=$build_dir/soak

if [ ! -f "$build_dir/CMakeCache.txt" ]; then
  cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMARKER_VIEWER_SANITIZE=ON
fi
cmake --build "$build_dir" -j2

rm -rf "$log_dir"
mkdir -p "$log_dir"
tally=$log_dir/tally.txt # one line per test run: NAME passed|failed
: >"$tally"

# Stops the busy loops and prints the table, also when interrupted.
busy_loops=()
finish() {
  for pid in "${busy_loops[@]}"; do kill "$pid" 2>/dev/null || true; done
  echo
  printf '%-75s %5s %8s\n' test runs failures
  awk '{ runs[$1]++; if ($2 == "failed") failures[$1]++ }
       END { for (t in runs) printf "%-75s %5d %8d\n", t, runs[t], failures[t] }' "$tally" | sort
  echo "rounds with a failure kept in $log_dir/round-*.log"
}
trap finish EXIT
trap 'exit 130' INT TERM
for _ in 1 2; do
  bash -c 'while :; do :; done' &
  busy_loops+=($!)
done

for round in $(seq 1 "$runs"); do
  round_log=$log_dir/round-$round.log
  # The same command as scripts/test.sh, with only the chosen tests.
  ASAN_OPTIONS=detect_leaks=0 xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" \
    ctest --test-dir "$build_dir" -R "$pattern" --output-on-failure --timeout 300 \
    >"$round_log" 2>&1 || true
  # ctest's result lines: "  3/40 Test  #7: Suite.Name ....   Passed    0.12 sec";
  # a skipped test (root reads any file) is neither a run nor a failure.
  awk '/^ *[0-9]+\/[0-9]+ +Test +#[0-9]+: / && !/\*\*\*Skipped/ {
         print $4, ($0 ~ / Passed +[0-9.]+ sec/ ? "passed" : "failed")
       }' "$round_log" >>"$tally"
  failed=$(grep -E '^ *[0-9]+/[0-9]+ +Test +#' "$round_log" | grep -cvE 'Passed|\*\*\*Skipped' || true)
  echo "round $round of $runs: $failed failed; load $(cut -d' ' -f1-3 /proc/loadavg)"
  if [ "$failed" = 0 ]; then rm "$round_log"; fi
done


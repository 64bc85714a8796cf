#!/bin/bash
# Fuzzes one target for SECONDS (default 600):
#   capture            the viewer's capture reader and gap filling (the
#                      loader program load-capture, seeds fuzz/corpus/), the
#                      default; with AFL++, one process per input, since the
#                      loader ends the process on a bad file;
#   c3d                the converter's C3D reader (seeds fuzz/c3d-corpus/);
#   text               the converter's readers with the format told by
#                      content, as capture-convert tells it (seeds
#                      fuzz/text-corpus/);
#   converter-capture  the converter's capture-file reader (seeds
#                      fuzz/corpus/).
# The three converter targets run in-process with libFuzzer, every input read
# from memory and every frame decoded and formatted. Every target is built
# with AddressSanitizer + UndefinedBehaviorSanitizer (build-afl/ for AFL++,
# build-fuzz/ for libFuzzer, where each target keeps its corpus between
# runs), seeded from the corpus and the dictionary named above. At the end it
# prints the inputs run, inputs a second, corpus size, crashes and hangs, and
# copies every crashing or hanging input into fuzz/regressions/ with the
# program's report beside it in the build folder.
#   usage: scripts/fuzz.sh [SECONDS] [capture|c3d|text|converter-capture]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-600}
target=${2:-capture}
# Converter findings are kept as .c3d or .txt, which the converter's sweeps
# replay; .csv ones are replayed by the loader's.
case $target in
  capture) program=load-capture seeds=fuzz/corpus dictionary=fuzz/capture.dict suffix=csv ;;
  c3d) program=fuzz-c3d-reader seeds=fuzz/c3d-corpus dictionary=fuzz/c3d.dict suffix=c3d ;;
  text) program=fuzz-text-readers seeds=fuzz/text-corpus dictionary=fuzz/text.dict suffix=txt ;;
  converter-capture)
    program=fuzz-capture-reader seeds=fuzz/corpus dictionary=fuzz/capture.dict suffix=txt ;;
  *) echo "Error: unknown fuzzing target $target" >&2; exit 1 ;;
esac

bash scripts/install-deps.sh --fuzz

# Keeps input as fuzz/regressions/KIND-HASH.SUFFIX (unless already kept) and
# writes the program's symbolized report on it into the build folder.
keep_finding() {
  local kind=$1 input=$2 build_dir=$3
  local kept=fuzz/regressions/$kind-$(sha1sum "$input" | cut -c1-12).$suffix
  [ -e "$kept" ] && return
  cp "$input" "$kept"
  local report=$build_dir/$(basename "$kept").report
  timeout 60 "$build_dir/fuzz/$program" "$kept" >"$report" 2>&1 || true
  echo "new regression input: $kept (report: $report)"
}

if [ "$target" = capture ]; then
  build_dir=build-afl
  findings=$build_dir/findings-$target
  CC=afl-clang-fast CXX=afl-clang-fast++ cmake -S . -B "$build_dir" \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMARKER_VIEWER_SANITIZE=ON >/dev/null
  cmake --build "$build_dir" -j2 --target "$program"
  # Sanitizer faults must abort, so that the fuzzer sees them as crashes; the
  # program never frees its data by design, so leaks are not faults.
  export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1:symbolize=0
  export UBSAN_OPTIONS=halt_on_error=1:abort_on_error=1:print_stacktrace=1:symbolize=0
  export AFL_SKIP_CPUFREQ=1 AFL_I_DONT_CARE_ABOUT_MISSING_CRASHES=1 AFL_AUTORESUME=1
  [ -t 1 ] || export AFL_NO_UI=1
  afl-fuzz -i "$seeds" -o "$findings" -x "$dictionary" -t 1000 -V "$seconds" \
    -- "$build_dir/fuzz/$program" @@ >"$build_dir/afl-fuzz-$target.log" 2>&1 || {
    tail -30 "$build_dir/afl-fuzz-$target.log"
    exit 1
  }
  stats=$findings/default/fuzzer_stats
  value() { sed -n "s/^$1 *: //p" "$stats"; }
  echo "inputs run: $(value execs_done)"
  echo "inputs a second: $(value execs_per_sec)"
  echo "corpus: $(value corpus_count) inputs"
  echo "crashes: $(value saved_crashes)"
  echo "hangs: $(value saved_hangs)"
  export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1:symbolize=1
  export UBSAN_OPTIONS=halt_on_error=1:abort_on_error=1:print_stacktrace=1:symbolize=1
  for input in "$findings"/default/crashes/id:* "$findings"/default/hangs/id:*; do
    [ -e "$input" ] || continue
    kind=$(basename "$(dirname "$input")")
    keep_finding "${kind%s}" "$input" "$build_dir"
  done
  exit 0
fi

build_dir=build-fuzz
CC=clang CXX=clang++ cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DMARKER_VIEWER_SANITIZE=ON -DMARKER_VIEWER_FUZZ=ON >/dev/null
cmake --build "$build_dir" -j2 --target "$program"
corpus=$build_dir/corpus-$target
findings=$build_dir/findings-$target
log=$build_dir/libfuzzer-$target.log
rm -rf "$findings"
mkdir -p "$corpus" "$findings"
: >"$log"

# libFuzzer stops at the first fault; it is started again, on the corpus
# grown so far, until the time is up.
export UBSAN_OPTIONS=print_stacktrace=1
started=$SECONDS
inputs=0
while left=$((started + seconds - SECONDS)) && [ "$left" -gt 0 ]; do
  "$build_dir/fuzz/$program" -max_total_time="$left" -timeout=5 -print_final_stats=1 \
    -dict="$dictionary" -artifact_prefix="$findings/" "$corpus" "$seeds" \
    >"$log.run" 2>&1 || true
  cat "$log.run" >>"$log"
  run=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log.run")
  inputs=$((inputs + ${run:-0}))
done
rm -f "$log.run"
elapsed=$((SECONDS - started))
count() { find "$findings" -maxdepth 1 -name "$1" | wc -l; }
echo "inputs run: $inputs"
echo "inputs a second: $((inputs / (elapsed > 0 ? elapsed : 1)))"
# libFuzzer's own count (the folder also keeps inputs it has since reduced),
# or the folder's when a fault ended every run before libFuzzer counted.
corpus_size=$(grep -o 'corp: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)
echo "corpus: ${corpus_size:-$(find "$corpus" -type f | wc -l)} inputs"
echo "crashes: $(($(count 'crash-*') + $(count 'leak-*') + $(count 'oom-*')))"
echo "hangs: $(count 'timeout-*')"
for input in "$findings"/crash-* "$findings"/leak-* "$findings"/oom-* "$findings"/timeout-*; do
  [ -e "$input" ] || continue
  kind=$(basename "$input")
  case $kind in timeout-*) kind=hang ;; *) kind=crash ;; esac
  keep_finding "$kind" "$input" "$build_dir"
done

#!/bin/bash
# Builds the load benchmark in a Release build directory and runs it:
# generates captures of 50,000 and 200,000 samples x 30 markers in a
# temporary folder (about 200 MB, removed afterwards), loads them with the
# project's reader on the cores it may use and on one, and, in the same run,
# with pandas read_csv (Debian's python3-pandas, installed here),
# nodejs-polars readCSV on two threads (installed here with npm into
# build-bench/polars; needs node and npm) and a plain fgets + strtod reader,
# and prints the times, their ratios and the targets.
# Usage: scripts/bench.sh [RUNS]    (default 5 runs of each reader per size)
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh --bench

polars_version=0.25.2
polars_dir=build-bench/polars
if ! [ -f "$polars_dir/node_modules/nodejs-polars/package.json" ]; then
  if ! command -v node >/dev/null || ! command -v npm >/dev/null; then
    echo "Error: the load benchmark needs node and npm for nodejs-polars" >&2
    exit 1
  fi
  # npm leaves out the build for this machine, an optional dependency, so it
  # is named too.
  platform=$(node -p 'process.platform + "-" + process.arch')
  [ "$platform" = linux-x64 ] && platform=linux-x64-gnu
  mkdir -p "$polars_dir"
  [ -f "$polars_dir/package.json" ] || echo '{"private": true}' >"$polars_dir/package.json"
  npm install --prefix "$polars_dir" --no-audit --no-fund --save-exact \
    "nodejs-polars@$polars_version" "nodejs-polars-$platform@$polars_version"
fi

cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DMARKER_VIEWER_SANITIZE=OFF
cmake --build build-bench --target load_benchmark -j2
build-bench/bench/load_benchmark "$@"

#!/bin/bash
# Installs the Debian packages that building, running, testing and
# benchmarking the project need. Does nothing, and touches no network, when
# every package is already installed, so the test command can be re-run
# offline.
#   usage: scripts/install-deps.sh [--bench] [--fuzz] [--format] [--package]
# --bench adds what the benchmarks compare against, --fuzz the fuzzers
# (AFL++, and clang with its libFuzzer runtime), --format the formatter of
# scripts/format.sh, --package what makes and checks the Debian package
# (scripts/package.sh).
set -euo pipefail

# fluid is only recommended by libfltk1.3-dev, but FLTK's CMake package
# refers to it, so find_package(FLTK) fails without it.
packages=(
  build-essential cmake pkg-config
  libfltk1.3-dev fluid libglu1-mesa-dev libgl1-mesa-dri
  libgtest-dev
  xvfb xauth xdotool x11-utils imagemagick
  valgrind python3
)
for group in "$@"; do
  case $group in
    --bench) packages+=(python3-pandas) ;;
    --fuzz) packages+=(afl++ clang libclang-rt-14-dev) ;;
    --format) packages+=(clang-format) ;;
    --package) packages+=(dpkg-dev file lintian desktop-file-utils) ;;
    *) echo "Error: unknown package group $group" >&2; exit 1 ;;
  esac
done

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${db:Status-Status}' "$package" 2>/dev/null || true)
  [ "$status" = installed ] || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

run_as_root() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }
echo "Installing ${missing[*]}"
run_as_root apt-get update
run_as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"

#!/bin/bash
# Installs the Debian packages needed to build, run and test the viewer.
set -euo pipefail
run_as_root() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }
run_as_root apt-get update
run_as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends \
  build-essential cmake pkg-config libfltk1.3-dev libglu1-mesa-dev libgl1-mesa-dri \
  libgtest-dev libbenchmark-dev xvfb xauth xdotool x11-utils imagemagick valgrind

#!/bin/bash
# Remakes docs/recorded-c3d.png: shows the shipped recording
# samples/recorded/markers_analogs.c3d with capture-view (converted with
# --fit, so the starting camera frames it with no slider moved) on a virtual
# X display and pictures the window.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2 --target capture-view capture-convert marker-viewer

SCREENSHOT_FILE=docs/recorded-c3d.png \
  bash scripts/screenshot.sh build/bin/capture-view samples/recorded/markers_analogs.c3d

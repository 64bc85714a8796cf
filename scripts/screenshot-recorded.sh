#!/bin/bash
# Remakes the picture of a shipped recording shown with capture-view
# (converted with --fit, so the starting camera frames it with no slider
# moved) on a virtual X display: by default docs/recorded-c3d.png of
# samples/recorded/markers_analogs.c3d.
# Options after the picture are capture-view's.
#   usage: scripts/screenshot-recorded.sh [RECORDING PICTURE [OPTION...]]
# e.g. scripts/screenshot-recorded.sh samples/recorded/walk.bvh docs/walk-bvh.png
#      scripts/screenshot-recorded.sh samples/recorded/walk.bvh docs/walk-followed.png --follow
set -euo pipefail
cd "$(dirname "$0")/.."
recording=${1:-samples/recorded/markers_analogs.c3d}
picture=${2:-docs/recorded-c3d.png}
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2 --target capture-view capture-convert marker-viewer

SCREENSHOT_FILE=$picture bash scripts/screenshot.sh build/bin/capture-view "$recording" "${@:3}"

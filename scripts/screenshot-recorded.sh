#!/bin/bash
# Remakes docs/recorded-c3d.png: converts the shipped recording
# samples/recorded/markers_analogs.c3d with capture-convert, then pictures it
# in the viewer window on a virtual X display with "Zoom Input", "Pan Camera
# Vertical" and "Pan Camera Horizontal" set to the values capture-convert
# printed (the test-side program framed_viewer sets them).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2 --target capture-convert framed_viewer

capture=build/recorded-c3d.csv
summary=$(build/convert/capture-convert samples/recorded/markers_analogs.c3d "$capture")
echo "$summary"
value() { sed -E "s/.*$1 (-?[0-9]+).*/\1/" <<<"$summary"; }
SCREENSHOT_FILE=docs/recorded-c3d.png SCREENSHOT_CAPTURE=$capture \
  bash scripts/screenshot.sh build/tests/framed_viewer \
  "$(value 'Zoom Input')" "$(value 'Pan Camera Vertical')" "$(value 'Pan Camera Horizontal')"

#!/bin/bash
# Installs what is needed, builds the viewer and starts it on the shipped
# sample capture, answering its prompt with the sample's name.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j2 --target marker-viewer

sample=samples/walk.csv
if [ -z "${DISPLAY:-}" ]; then
  # No desktop to show the window on: show it on a virtual display and save
  # a picture of it instead.
  echo "No display found (DISPLAY is not set): taking a screenshot on a virtual display instead."
  SCREENSHOT_FILE=build/screenshot.png bash scripts/screenshot.sh
  exit 0
fi
echo "$sample" | build/bin/marker-viewer

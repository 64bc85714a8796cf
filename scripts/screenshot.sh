#!/bin/bash
# Remakes docs/screenshot.png: starts the viewer on a virtual X display,
# answers its prompt with the sample capture, photographs the window and
# closes it again.
#
#   scripts/screenshot.sh [program [arguments...]]
#       (default: build/bin/marker-viewer, no arguments; build/bin/capture-view
#       RECORDING shows the window of the viewer it starts)
#   SCREENSHOT_FILE=path picks another picture file than docs/screenshot.png,
#   SCREENSHOT_CAPTURE=path another capture than samples/walk.csv,
#   SCREENSHOT_LAST_FRAME=1 moves "Frame Number" to its end (1000) first.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "${1:-}" != --on-display ]; then
  program=$(realpath "${1:-build/bin/marker-viewer}")
  [ -x "$program" ] || { echo "Error: no viewer program at $program" >&2; exit 1; }
  exec xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" "$0" --on-display "$program" "${@:2}"
fi
program=$2
arguments=("${@:3}")
capture=${SCREENSHOT_CAPTURE:-samples/walk.csv}
output=${SCREENSHOT_FILE:-docs/screenshot.png}
title="Displays the Markers"

"$program" "${arguments[@]}" <<<"$capture" >/dev/null &
viewer=$!
trap 'kill "$viewer" 2>/dev/null || true' EXIT

window=
for _ in $(seq 100); do
  # The virtual display is this script's own, so the title alone finds the
  # window, also when the program shows it through a child (capture-view).
  window=$(xdotool search --all --name "^$title\$" 2>/dev/null | head -n 1 || true)
  [ -n "$window" ] && break
  kill -0 "$viewer" 2>/dev/null || { echo "Error: the viewer ended before its window opened" >&2; exit 1; }
  sleep 0.1
done
[ -n "$window" ] || { echo "Error: the viewer window did not appear" >&2; exit 1; }
sleep 1  # lets the toolkit draw the window and the view once
if [ -n "${SCREENSHOT_LAST_FRAME:-}" ]; then
  # A click near the right end of the "Frame Number" track moves its knob
  # there; the arrow key takes it the last steps to the end.
  xdotool mousemove --window "$window" 342 62 click 1
  xdotool key --window "$window" --repeat 10 Right
  sleep 1
fi

geometry=$(xwininfo -id "$window" | awk '
  /Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { y = $NF }
  /Width:/ { w = $NF } /Height:/ { h = $NF }
  END { printf "%sx%s+%s+%s", w, h, x, y }')
mkdir -p "$(dirname "$output")"
screen=$(mktemp --suffix=.png)
import -window root "$screen"
convert "$screen" -crop "$geometry" +repage "$output"
rm -f "$screen"

# The key release can find the window already gone; whether it closed is
# checked below.
xdotool key --window "$window" Escape 2>/dev/null || true
for _ in $(seq 50); do
  kill -0 "$viewer" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$viewer" 2>/dev/null && { echo "Error: the viewer did not close on Escape" >&2; exit 1; }
wait "$viewer"
trap - EXIT
echo "Wrote $output ($geometry)"

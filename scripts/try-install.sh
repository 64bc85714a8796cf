#!/bin/bash
# Installs the build into a temporary prefix and uses it as a user would,
# from another folder: the prefix must hold bin/capture-convert,
# bin/capture-view and bin/marker-viewer, their manual pages, the desktop
# entry, icon and file types, the copyright and changelog, and nothing
# else; capture-convert
# converts the shipped C3D; capture-view shows it on a virtual X display,
# its window is closed and it must end with status 0, leaving nothing in
# its TMPDIR. Prints one verdict line; status 1 on the first fault.
set -euo pipefail
cd "$(dirname "$0")/.."
project=$(pwd)
recording=$project/samples/recorded/markers_analogs.c3d
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2 --target capture-view capture-convert marker-viewer >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
  echo "try-install: FAILED: $*"
  exit 1
}

cmake --install build --prefix "$work/prefix" >/dev/null
installed=$(cd "$work/prefix" && find . -type f | sort | tr '\n' ' ')
expected="./bin/capture-convert ./bin/capture-view ./bin/marker-viewer \
./share/applications/capture-view.desktop ./share/doc/marker-viewer/changelog.gz \
./share/doc/marker-viewer/copyright ./share/icons/hicolor/scalable/apps/marker-viewer.svg \
./share/man/man1/capture-convert.1.gz ./share/man/man1/capture-view.1.gz \
./share/man/man1/marker-viewer.1.gz ./share/mime/packages/marker-viewer.xml "
[ "$installed" = "$expected" ] || fail "the prefix holds $installed"

cd /
"$work/prefix/bin/capture-convert" "$recording" "$work/walk.csv" >"$work/convert.out" ||
  fail "capture-convert: $(cat "$work/convert.out")"

# On the virtual display: waits for the viewer's window, closes it with
# Escape and returns capture-view's status.
mkdir "$work/tmp"
cat >"$work/watch.sh" <<'WATCH'
set -u
TMPDIR=$2 "$1" "$3" >"$2.out" &
view=$!
if ! window=$(timeout 60 xdotool search --sync --name '^Displays the Markers$' | head -n 1) ||
  [ -z "$window" ]; then
  kill "$view" 2>/dev/null
  echo "no window appeared"
  exit 1
fi
for _ in $(seq 10); do
  xdotool key --window "$window" Escape 2>/dev/null
  sleep 0.5
  kill -0 "$view" 2>/dev/null || break
done
wait "$view"
WATCH
status=0
xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" \
  bash "$work/watch.sh" "$work/prefix/bin/capture-view" "$work/tmp" "$recording" || status=$?
[ "$status" = 0 ] || fail "capture-view ended with status $status: $(cat "$work/tmp.out")"
[ -z "$(ls -A "$work/tmp")" ] || fail "capture-view left $(ls -A "$work/tmp") in TMPDIR"
echo "try-install: PASSED: installed the three programs with their manual pages and desktop files alone, converted and showed $recording from /"

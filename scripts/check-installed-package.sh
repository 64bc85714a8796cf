#!/bin/bash
# Checks the Debian package as a user of a fresh Debian 12 would meet it.
# Run as root in a root that has nothing else installed (scripts/fresh-check.sh
# does it), from a folder holding the package marker-viewer_*.deb and the
# recordings markers_analogs.c3d, markers.trc and walk.bvh:
#   apt-get install of the package alone, which must bring FLTK, GL and GLU;
#   the programs on PATH, --version (the package's version) and --help;
#   then, with the desktop's tools installed: man -w for each program,
#   desktop-file-validate, the file type and default application of each
#   recording, xdg-open of the C3D on a virtual display (its window is
#   photographed as xdg-open.png), capture-view --desktop of a bad file (its
#   message box photographed as message-box.png); last apt-get remove, which
#   must leave none of the package's files. Prints one verdict line.
set -euo pipefail
fail() {
  echo "package-check: FAILED: $*"
  exit 1
}
export DEBIAN_FRONTEND=noninteractive
package=$(ls marker-viewer_*.deb)
install_quietly() {
  apt-get install -y --no-install-recommends "$@" >apt.log 2>&1 || { cat apt.log; fail "apt-get install $*"; }
}

apt-get update >apt.log 2>&1 || { cat apt.log; fail "apt-get update"; }
install_quietly "./$package"
version=$(dpkg-query -W -f '${Version}' marker-viewer)
echo "package-check: installed $package, which brought $(grep -c '^Setting up' apt.log) packages"

for program in marker-viewer capture-convert capture-view; do
  [ "$(command -v "$program")" = "/usr/bin/$program" ] || fail "$program is not on PATH"
  missing=$(ldd "/usr/bin/$program" | grep 'not found' || true)
  [ -z "$missing" ] || fail "$program lacks $missing"
done
for program in capture-convert capture-view; do
  [ "$("$program" --version)" = "$program $version" ] ||
    fail "$program --version says $("$program" --version), the package $version"
  "$program" --help >help.out || fail "$program --help ended with status $?"
  head -n 1 help.out | grep -q "^Usage: $program " || fail "$program --help: $(head -n 1 help.out)"
done

install_quietly man-db desktop-file-utils xdg-utils libfile-mimeinfo-perl shared-mime-info \
  xvfb xauth xdotool x11-utils imagemagick
for program in marker-viewer capture-convert capture-view; do
  man -w "$program" >/dev/null || fail "no manual page for $program"
done
desktop-file-validate /usr/share/applications/capture-view.desktop ||
  fail "desktop-file-validate refuses capture-view.desktop"

# Columns: recording, its file type.
while read -r recording type; do
  found=$(xdg-mime query filetype "$recording")
  [ "$found" = "$type" ] || fail "$recording is $found, not $type"
  default=$(xdg-mime query default "$type")
  [ "$default" = capture-view.desktop ] || fail "the default for $type is '$default'"
done <<'TYPES'
markers_analogs.c3d application/x-c3d
markers.trc text/x-trc
walk.bvh text/x-bvh
TYPES

# On a virtual display: the C3D opened as from a file manager, then a bad
# file started as the desktop entry starts it.
printf 'not a recording\n' >bad.c3d
cat >on-display.sh <<'SCRIPT'
set -u
# Waits for the window titled $1, photographs it as $2 and closes it with
# Escape; prints the window's id, or nothing when none appeared.
photograph_and_close() {
  local window geometry
  window=$(timeout 60 xdotool search --sync --name "^$1\$" | head -n 1) || return 0
  sleep 1
  geometry=$(xwininfo -id "$window" | awk '
    /Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { y = $NF }
    /Width:/ { w = $NF } /Height:/ { h = $NF }
    END { printf "%sx%s+%s+%s", w, h, x, y }')
  import -window root screen.png && convert screen.png -crop "$geometry" +repage "$2"
  xdotool key --window "$window" Escape
  echo "$window"
}
xdg-open "$PWD/markers_analogs.c3d" >xdg-open.out 2>&1 &
opened=$!
[ -n "$(photograph_and_close 'Displays the Markers' xdg-open.png)" ] || { echo "xdg-open showed no window"; exit 1; }
timeout 30 tail --pid="$opened" -f /dev/null || { echo "the window opened by xdg-open did not close"; exit 1; }

capture-view --desktop bad.c3d >desktop.out &
view=$!
[ -n "$(photograph_and_close capture-view message-box.png)" ] || { echo "capture-view --desktop showed no message box"; exit 1; }
status=0
wait "$view" || status=$?
[ "$status" = 1 ] || { echo "capture-view --desktop ended with status $status"; exit 1; }
grep -q '^Error: ' desktop.out || { echo "capture-view --desktop wrote $(cat desktop.out)"; exit 1; }
SCRIPT
said=$(xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" bash on-display.sh) || fail "$said"

dpkg -L marker-viewer >files.list
apt-get remove -y marker-viewer >apt.log 2>&1 || { cat apt.log; fail "apt-get remove"; }
left=$(while read -r path; do
  if [ -e "$path" ] && { [ ! -d "$path" ] || [ "$path" = /usr/share/doc/marker-viewer ]; }; then
    echo "$path"
  fi
done <files.list)
[ -z "$left" ] || fail "apt-get remove left $left"
[ "$(xdg-mime query filetype walk.bvh)" != text/x-bvh ] || fail "the BVH type outlived the package"

echo "package-check: PASSED: $package installed alone with its dependencies; programs, --version $version, --help, manual pages, desktop entry, file types and defaults, xdg-open, message box and removal checked"

#!/bin/bash
# Runs commands in a clean clone of HEAD inside a fresh, minimal Debian 12
# root, as a new user's first commands on a new machine would run: as root,
# with no display and no standard input. Proves that the set-up installs
# everything it needs, which a run on a machine with packages left over from
# earlier work cannot.
#
#   usage: scripts/fresh-check.sh [COMMAND...]   (run as root)
#   default commands: "bash scripts/run.sh" "bash scripts/test.sh"
#     "bash scripts/try-install.sh" (installs into a temporary prefix and runs
#     capture-convert and capture-view from it, from another folder)
#
# What is cached under /var/cache/marker-viewer-fresh-root, and why it is safe:
# - base.tar, the minimal root as Debian's archive gave it (remade when older
#   than 7 days). It holds only Debian's minbase packages and this machine's
#   apt sources, nothing of the project.
# - archives/, the .deb files that apt downloads inside the root. apt checks
#   each against the archive's signed index before use and fetches anew what
#   does not match, so a stale file costs a download, never a wrong package.
# Every run unpacks the root anew and removes it at the end, also on failure,
# timeout or interruption. The mounts live in a private mount namespace, so
# they vanish with it whatever happens to this script.
#
# When the commands built the Debian package (bash scripts/package.sh), it is
# then installed in a second fresh root, which holds nothing but the package,
# scripts/check-installed-package.sh and three shipped recordings, and
# checked there by that script.
#
# Environment: FRESH_CHECK_TIMEOUT (seconds for all commands, default 4800).
# The screenshot that scripts/run.sh saves inside the root is copied to
# build-fresh/screenshot.png, the package check's pictures of the window that
# xdg-open opened and of capture-view --desktop's message box to
# build-fresh/package-xdg-open.png and build-fresh/package-message-box.png.
set -euo pipefail
cd "$(dirname "$0")/.."
started=$SECONDS

verdict() {
  echo "fresh-check: $*"
}
fail() {
  verdict "FAILED: $*"
  exit 1
}

[ "$(id -u)" = 0 ] || fail "must run as root (it makes and enters a chroot)"
[ $# -gt 0 ] || set -- "bash scripts/run.sh" "bash scripts/test.sh" "bash scripts/try-install.sh"
timeout_seconds=${FRESH_CHECK_TIMEOUT:-4800}
commit=$(git rev-parse HEAD)

cache=/var/cache/marker-viewer-fresh-root
base=$cache/base.tar
mkdir -p "$cache/archives/partial"

if ! command -v mmdebstrap >/dev/null; then
  { apt-get update && DEBIAN_FRONTEND=noninteractive \
      apt-get install -y --no-install-recommends mmdebstrap; } >"$cache/install.log" 2>&1 ||
    fail "cannot install mmdebstrap from Debian's archive (see $cache/install.log)"
fi

# A root left as a folder by an older version of this script is made anew.
[ -d "$base" ] && rm -rf --one-file-system "$base"
if [ -z "$(find "$base" -mtime -7 2>/dev/null)" ]; then
  echo "Making a minimal Debian 12 root from Debian's archive (cached as $base)"
  # This machine's apt sources and options, so the root reaches the archive
  # the same way the machine does.
  apt_options=()
  for option in /etc/apt/apt.conf.d/*; do
    grep -q -E '^\s*Acquire::' "$option" && apt_options+=("--aptopt=$option")
  done
  sources=$(cat /etc/apt/sources.list /etc/apt/sources.list.d/*.sources 2>/dev/null || true)
  # The name of the partial file does not end in .tar, so the format is named.
  mmdebstrap --variant=minbase --mode=root --format=tar "${apt_options[@]}" bookworm \
    "$base.partial" - \
    <<<"$sources" >"$cache/mmdebstrap.log" 2>&1 ||
    fail "cannot make a fresh Debian 12 root: Debian's archive could not be reached or used (see $cache/mmdebstrap.log)"
  mv "$base.partial" "$base"
fi

roots=()
runner=
cleanup() {
  if [ -n "$runner" ]; then
    kill -TERM "$runner" 2>/dev/null || true
    wait "$runner" 2>/dev/null || true
  fi
  # The mounts belong to the child's namespace, which has ended by now, so
  # a root is removed only when nothing is mounted in it from here.
  for root in "${roots[@]}"; do
    if ! findmnt -rn -o TARGET | grep -q "^$root/"; then
      rm -rf --one-file-system "$root"
    else
      echo "fresh-check: $root still has mounts; left in place" >&2
    fi
  done
}
trap cleanup EXIT
trap 'fail "interrupted"' INT TERM HUP

# A fresh root unpacked from the base, reaching the network as this machine
# does; its path in $root.
new_root() {
  root=$(mktemp -d /var/tmp/fresh-root.XXXXXX)
  roots+=("$root")
  tar -xf "$base" -C "$root"
  cp /etc/resolv.conf "$root/etc/resolv.conf"
}

# Inside private mount and process namespaces: mount what builds and the
# virtual display need, run each command in the chroot, in FOLDER, with a
# clean environment, unmount. Ending the namespace's first process ends every
# process left inside it.
inside='
set -u
root=$1
folder=$2
shift 2
mount -t proc proc "$root/proc"
mount --rbind /sys "$root/sys"
mount --rbind /dev "$root/dev"
mount --bind "$CACHE_ARCHIVES" "$root/var/cache/apt/archives"
status=0
for command in "$@"; do
  echo "fresh-check: running \"$command\""
  chroot "$root" /usr/bin/env -i HOME=/root TERM=dumb \
    PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    /bin/bash -c "cd $folder && $command" </dev/null || { status=$?; break; }
done
# Lazily: a process the commands left behind may still hold a device open;
# it ends with the namespace.
umount -R -l "$root/var/cache/apt/archives" "$root/dev" "$root/sys" "$root/proc"
exit $status
'
# run_in_root ROOT FOLDER COMMAND...: the commands in the root, within what
# is left of the time allowed; returns the first failing command's status.
run_in_root() {
  local status=0 left=$((timeout_seconds - (SECONDS - started)))
  [ "$left" -gt 0 ] || return 124
  CACHE_ARCHIVES=$cache/archives timeout --kill-after=30 "$left" \
    unshare --mount --propagation private --pid --fork --kill-child \
    bash -c "$inside" fresh-root "$@" &
  runner=$!
  wait "$runner" || status=$?
  runner=
  return $status
}

new_root
project_root=$root
git clone --quiet --no-local . "$root/root/project"
git -C "$root/root/project" checkout --quiet --detach "$commit"
status=0
run_in_root "$project_root" /root/project "$@" || status=$?

if [ -f "$project_root/root/project/build/screenshot.png" ]; then
  mkdir -p build-fresh
  cp "$project_root/root/project/build/screenshot.png" build-fresh/screenshot.png
  echo "fresh-check: the screenshot taken inside the root is build-fresh/screenshot.png"
fi

package=$(ls "$project_root"/root/project/build/marker-viewer_*.deb 2>/dev/null || true)
if [ "$status" = 0 ] && [ -n "$package" ]; then
  new_root
  mkdir "$root/root/check"
  cp "$package" scripts/check-installed-package.sh samples/recorded/markers_analogs.c3d \
    samples/recorded/markers.trc samples/recorded/walk.bvh "$root/root/check/"
  set -- "$@" "bash check-installed-package.sh (in a second fresh root)"
  run_in_root "$root" /root/check "bash check-installed-package.sh" || status=$?
  mkdir -p build-fresh
  for picture in xdg-open message-box; do
    if [ -f "$root/root/check/$picture.png" ]; then
      cp "$root/root/check/$picture.png" "build-fresh/package-$picture.png"
      echo "fresh-check: the package check's picture is build-fresh/package-$picture.png"
    fi
  done
fi

elapsed=$((SECONDS - started))
commands=$(printf '"%s", ' "$@")
commands=${commands%, }
case $status in
  0) verdict "PASSED: $commands on a clean clone of ${commit:0:7} in a fresh Debian 12 root (${elapsed} s)" ;;
  124 | 137) fail "$commands did not finish within $timeout_seconds s in a fresh Debian 12 root" ;;
  *) fail "$commands ended with status $status in a fresh Debian 12 root (${elapsed} s)" ;;
esac

#!/bin/bash
# Builds the Debian package build/marker-viewer_VERSION_ARCH.deb from a
# Release build in build-package/ (with Debian's hardening flags), checks it
# with lintian (no error allowed) and its desktop entry with
# desktop-file-validate. Installs what it needs first, as the other scripts do.
#   usage: scripts/package.sh
# Then, as root: apt install ./build/marker-viewer_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh --package

# Debian's hardening flags, given on every configure since CMake reads the
# environment's flags only on the first. CPack's install then builds only
# what the package holds, not the tests and tools.
eval "$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --export=sh)"
cmake -S . -B build-package -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS="$CPPFLAGS $CXXFLAGS" \
  -DCMAKE_C_FLAGS="$CPPFLAGS $CFLAGS" -DCMAKE_EXE_LINKER_FLAGS="$LDFLAGS" \
  -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON >/dev/null
cmake --build build-package -j2 --target capture-view capture-convert marker-viewer
rm -f build-package/marker-viewer_*.deb
(cd build-package && cpack -G DEB >/dev/null)
package=$(ls build-package/marker-viewer_*.deb)
mkdir -p build
rm -f build/marker-viewer_*.deb
cp "$package" build/
package=build/$(basename "$package")

desktop-file-validate packaging/capture-view.desktop
lintian --fail-on error "$package"
echo "package: $package"
dpkg-deb --field "$package" Package Version Architecture Depends

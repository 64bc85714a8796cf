#!/bin/bash
# Formats every tracked C++ source and header with the project's
# .clang-format, in place. Installs Debian's clang-format when it is missing.
#   usage: scripts/format.sh
set -euo pipefail
cd "$(dirname "$0")/.."
command -v clang-format >/dev/null || bash scripts/install-deps.sh --format
git ls-files -z '*.h' '*.cpp' | xargs -0 clang-format -i

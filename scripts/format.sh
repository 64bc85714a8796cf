#!/bin/bash
# Formats every tracked C++ source and header with the project's
# .clang-format, in place; with --check changes nothing and fails, naming
# each file that differs from it. Installs Debian's clang-format when it is
# missing.
#   usage: scripts/format.sh [--check]
set -euo pipefail
cd "$(dirname "$0")/.."
command -v clang-format >/dev/null || bash scripts/install-deps.sh --format
case ${1:-} in
  "")
    git ls-files -z '*.h' '*.cpp' | xargs -0 clang-format -i
    ;;
  --check)
    differing=0
    while IFS= read -r -d '' file; do
      if ! clang-format "$file" | cmp -s - "$file"; then
        echo "Error: $file differs from .clang-format (bash scripts/format.sh formats it)"
        differing=$((differing + 1))
      fi
    done < <(git ls-files -z '*.h' '*.cpp')
    [ "$differing" -eq 0 ] || exit 1
    echo "format: every tracked .h and .cpp follows .clang-format"
    ;;
  *) echo "Error: usage: scripts/format.sh [--check]" >&2; exit 1 ;;
esac

#!/usr/bin/env bash
# Fails, naming the files, when a tracked C++ file differs from what
# clang-format (with the root .clang-format) makes of it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
cd "$root"
mapfile -t files < <(git ls-files '*.cpp' '*.h')
((${#files[@]})) || { echo "no C++ files tracked" >&2; exit 1; }
clang-format --dry-run --Werror "${files[@]}"
echo "clang-format: ${#files[@]} files formatted"

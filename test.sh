#!/usr/bin/env bash
# Builds Glaze and runs every test (unit, integration, end-to-end) through
# CTest, passing the arguments on to ctest. With --sanitize first, builds and
# tests with AddressSanitizer and UndefinedBehaviorSanitizer in ./build-asan:
#   ./test.sh --sanitize -L 'unit|integration'
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
build=build
if [[ ${1:-} == --sanitize ]]; then
    shift
    build=build-asan
    "$root/scripts/build.sh" --sanitize
else
    "$root/scripts/build.sh"
fi
cd "$root/$build"
exec ctest --output-on-failure -j2 "$@"

#!/usr/bin/env bash
# Builds Glaze and runs every test (unit, integration, end-to-end) through CTest.
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
"$root/scripts/build.sh"
cd "$root/build"
exec ctest --output-on-failure -j2 "$@"

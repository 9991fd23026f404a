#!/usr/bin/env bash
# Installs what is missing, then configures and builds Glaze (Release, -j2)
# in ./build. Shared by run.sh and test.sh. The build log is shown only when
# the build fails.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
mkdir -p "$root/build"
log="$root/build/build.log"
if ! { cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=Release &&
       cmake --build "$root/build" -j2; } >"$log" 2>&1; then
    cat "$log"
    echo "Build failed (log: $log)" >&2
    exit 1
fi

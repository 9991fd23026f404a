#!/usr/bin/env bash
# Installs what is missing, then configures and builds Glaze (Release, -j2)
# in ./build; with --sanitize, a Debug build with AddressSanitizer and
# UndefinedBehaviorSanitizer in ./build-asan. Shared by run.sh and test.sh.
# The build log is shown only when the build fails.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build
config=(-DCMAKE_BUILD_TYPE=Release)
if [[ ${1:-} == --sanitize ]]; then
    build=$root/build-asan
    config=(-DCMAKE_BUILD_TYPE=Debug -DGLAZE_SANITIZE=ON)
fi
"$root/scripts/install-deps.sh"
mkdir -p "$build"
log="$build/build.log"
if ! { cmake -S "$root" -B "$build" "${config[@]}" &&
       cmake --build "$build" -j2; } >"$log" 2>&1; then
    cat "$log"
    echo "Build failed (log: $log)" >&2
    exit 1
fi

#!/usr/bin/env bash
# Builds Glaze and starts it with the given files: ./run.sh [FILE...]
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
"$root/scripts/build.sh"
exec "$root/build/app/glaze" "$@"

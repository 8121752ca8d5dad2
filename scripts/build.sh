#!/usr/bin/env bash
# Installs what is missing, configures the build tree and builds the given targets (all by default).
# Usage: scripts/build.sh [BUILD_DIR] [TARGET...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
shift || true
"$root/scripts/setup-debian.sh"
if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build "$build" -- "$@"

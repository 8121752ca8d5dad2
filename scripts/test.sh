#!/usr/bin/env bash
# The whole test suite from a fresh clone: set-up, build (with the test media), all tests.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build
"$root/scripts/build.sh" "$build"
cd "$build"
ctest --output-on-failure --timeout 900 -j2

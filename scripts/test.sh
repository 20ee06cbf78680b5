#!/usr/bin/env bash
# Builds everything and runs every test, then a short run of every fuzz target (clang build in build-fuzz/).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/deps.sh"
build="$root/build"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "$(nproc)"
(cd "$build" && ctest --output-on-failure -j "$(nproc)" --timeout 300)
"$root/scripts/fuzz.sh" --smoke

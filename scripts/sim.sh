#!/usr/bin/env bash
# Builds the plug-in and vellomir-sim, then flies the bundled sample scenario.
# Extra arguments go to vellomir-sim (see: scripts/sim.sh --help).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/deps.sh"
build="$root/build"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target vellomir-sim -j "$(nproc)"
exec "$build/tools/vellomir-sim" "$@"

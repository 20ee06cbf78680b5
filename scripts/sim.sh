#!/usr/bin/env bash
# Builds the plug-in and vellomir-sim, then flies the default scenario (data/scenarios/default.scn) over
# the bundled sample. Extra arguments go to vellomir-sim (see: scripts/sim.sh --help); with --scenario
# FILE another scenario is flown, with --no-scenario none (the plug-in is loaded and runs --duration).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/deps.sh"
build="$root/build"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target vellomir-sim -j "$(nproc)"

args=()
scenario="$root/data/scenarios/default.scn"
for arg in "$@"; do
  case "$arg" in
    --scenario|--help|-h) scenario="" ;;
  esac
  if [ "$arg" = "--no-scenario" ]; then
    scenario=""
  else
    args+=("$arg")
  fi
done
if [ -n "$scenario" ]; then
  args=(--scenario "$scenario" "${args[@]}")
fi
exec "$build/tools/vellomir-sim" "${args[@]}"

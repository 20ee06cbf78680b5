#!/usr/bin/env bash
# Makes the user guide's pictures (docs/images/*.png): builds vellomir-sim, flies the default scenario
# (data/scenarios/default.scn) with the flight information panel on, then opens the frequency selector,
# the Options and the About windows from the menu, and keeps the first picture of every window that
# opened, the first dialogue box with text and the last screen. Run it after a change of a window, and
# commit the pictures.
# Usage: scripts/snapshots.sh [output folder]   (default: docs/images)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
out="${1:-$root/docs/images}"
"$root/scripts/deps.sh"
build="$root/build"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target vellomir-sim -j "$(nproc)"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
# The default flight, then the windows of the menu it does not open, closed again before the last picture.
{
  cat "$root/data/scenarios/default.scn"
  for item in "Frequencies selector:Frequencies selector" "Options:Options" "?:About"; do
    printf '\nmenu Vellomirv2 "%s"\nwait 1\nclose "%s"\n' "${item%%:*}" "${item#*:}"
  done
  printf 'wait 1\n'
} >"$work/guide.scn"
if ! "$build/tools/vellomir-sim" --scenario "$work/guide.scn" --snapshots "$work/pictures" \
     --setting flightStatsIsActive=1 --directory-seed 1 >"$work/transcript.txt" 2>&1; then
  tail -20 "$work/transcript.txt" >&2
  echo "snapshots: the default scenario failed (transcript above)" >&2
  exit 1
fi

mkdir -p "$out"
rm -f "$out"/*.png
for picture in "$work"/pictures/*.png; do
  name="$(basename "$picture" .png)"
  name="${name#[0-9][0-9][0-9]-}"
  # the first picture of each window; the screen at the end of the flight
  if [ ! -e "$out/$name.png" ] || [ "$name" = "screen" ]; then
    cp "$picture" "$out/$name.png"
  fi
done
ls -l "$out"/*.png | awk '{ total += $5; print $5, $9 } END { print total, "bytes in all" }'

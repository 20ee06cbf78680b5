#!/usr/bin/env bash
# The long-haul soak: flies data/soak/head.scn and then legs of data/soak/leg.scn (one per simulated hour,
# each ending on the hour)
# in vellomir-sim as fast as the machine allows, with the cloud voice and the update check served by
# soak-server on 127.0.0.1, and checks vellomir-sim's hourly health reports (docs/scenarios.md):
#
#   after the first hour (its report is the baseline) nothing may grow beyond its bound:
#     resident memory   at most --rss-bound kilobytes above the first hour's (default 4096; 65536 with --asan,
#                       whose allocator's quarantine of freed memory is held to 16 MB)
#     heap in use       at most 256 kilobytes above the first hour's (the C allocator's bytes handed out and
#                       not given back; not checked with --asan, whose allocator it does not see)
#     open files     at most 8 above the first hour's (a transfer or synthesis under way), none at the end
#     OpenAL sources, buffers and orphaned names, widgets, windows: never above the first hour's
#   at every report: no host error, no OpenAL name deleted that was not generated, no frame over 16 ms of
#   the plug-in's own time (run-queue waits taken out: the machine's load is not the plug-in's; 48 ms in
#   the sanitizer build, whose code runs about three times slower)
#   at the end, after XPluginStop: no widget, window, OpenAL source, buffer, context or device left
#
# Usage: scripts/soak.sh [--hours N] [--asan] [--build DIR] [--no-build] [--out DIR] [--rss-bound KB]
#                        [--max-speed X]
#   --hours N     simulated hours (default 10)
#   --asan        the sanitizer build (build-asan, -DVELLOMIR_SANITIZE=ON): ASan, LSan and UBSan must stay silent
#   --build DIR   the build folder (default build, or build-asan)
#   --no-build    use the binaries already in the build folder
#   --out DIR     where the scenario, transcript and figures go (default DIR/soak)
#   --max-speed X at most X simulated seconds to a wall-clock second (default 500; the suite's short form
#                 1000): the synthesiser and the local server answer on the wall clock
# Exit status: 0 passed, 1 a bound was broken, else vellomir-sim's status (4 an expectation failed, ...).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
hours=10
asan=0
build=""
do_build=1
out=""
rss_bound=""
max_speed=500
while [ $# -gt 0 ]; do
  case "$1" in
    --hours) hours="$2"; shift ;;
    --asan) asan=1 ;;
    --build) build="$2"; shift ;;
    --no-build) do_build=0 ;;
    --out) out="$2"; shift ;;
    --rss-bound) rss_bound="$2"; shift ;;
    --max-speed) max_speed="$2"; shift ;;
    -h|--help) sed -n '2,25p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "soak.sh: unknown argument $1" >&2; exit 2 ;;
  esac
  shift
done
case "$hours" in ''|*[!0-9]*|0) echo "soak.sh: --hours needs a whole number of hours, at least 1" >&2; exit 2 ;; esac
if [ -z "$build" ]; then
  build="$root/build"
  [ "$asan" = 1 ] && build="$root/build-asan"
fi
# A sanitizer build named with --build (the suite's) is flown as one.
grep -q '^VELLOMIR_SANITIZE:BOOL=ON' "$build/CMakeCache.txt" 2>/dev/null && asan=1
[ -z "$rss_bound" ] && { [ "$asan" = 1 ] && rss_bound=65536 || rss_bound=4096; }
frame_bound=16
asan_options="detect_leaks=1"
if [ "$asan" = 1 ]; then
  frame_bound=48
  asan_options="detect_leaks=1:quarantine_size_mb=16${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
fi
out="${out:-$build/soak}"
mkdir -p "$out"

if [ "$do_build" = 1 ]; then
  "$root/scripts/deps.sh"
  sanitize=OFF
  [ "$asan" = 1 ] && sanitize=ON
  launcher=()
  command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELLOMIR_SANITIZE=$sanitize "${launcher[@]}" >/dev/null
  nice -n 19 cmake --build "$build" --target vellomir-sim soak-server -j 2
fi
sim="$build/tools/vellomir-sim"
server="$build/tools/soak-server"

# The scenario: the head, then a leg an hour, each ending with a wait at the gate until the hour.
leg_waits=$(awk '$1 == "wait" && NF == 2 { s += $2 } END { print s + 0 }' "$root/data/soak/leg.scn")
if awk -v w="$leg_waits" 'BEGIN { exit !(w > 600) }'; then
  echo "soak.sh: data/soak/leg.scn waits $leg_waits s; a leg must leave room in its 3600 for its awaits" >&2
  exit 2
fi
scenario="$out/soak.scn"
{
  cat "$root/data/soak/head.scn"
  for leg in $(seq 1 "$hours"); do
    echo
    echo "note Leg $leg of $hours"
    cat "$root/data/soak/leg.scn"
    echo "wait align 3600"
  done
} > "$scenario"

# The local services, stopped however the run ends.
version=$(sed -n 's/^#define VELLOMIR_VERSION "\(.*\)"/\1/p' "$root/src/plugin/Version.h")
# Its old output goes first: the new server writes its own only once started, and the port is read from it.
rm -f "$out/server.txt" "$out/server-errors.txt"
"$server" "$version" > "$out/server.txt" 2> "$out/server-errors.txt" &
server_pid=$!
trap 'kill $server_pid 2>/dev/null || true; wait $server_pid 2>/dev/null || true' EXIT
for _ in $(seq 1 300); do
  grep -q '^ca ' "$out/server.txt" 2>/dev/null && break
  kill -0 "$server_pid" 2>/dev/null || break
  sleep 0.1
done
port=$(awk '$1 == "port" { print $2 }' "$out/server.txt")
ca=$(awk '$1 == "ca" { print $2 }' "$out/server.txt")
if [ -z "$port" ] || [ -z "$ca" ]; then
  echo "soak.sh: soak-server did not start" >&2
  cat "$out/server-errors.txt" >&2
  exit 2
fi
base="https://127.0.0.1:$port"

echo "soak.sh: $hours simulated hours ($hours legs) in $sim; transcript in $out/transcript.txt"
started=$(date +%s)
status=0
SSL_CERT_FILE="$ca" ASAN_OPTIONS="$asan_options" nice -n 19 "$sim" --scenario "$scenario" \
  --report-every 3600 --audio-real-time --max-speed "$max_speed" \
  --setting azureTtsOn=1 --setting azureKey=soak-key --setting azureRegion=westeurope \
  --setting "azureTokenUrl=$base/sts/v1.0/issueToken" --setting "azureTtsUrl=$base/cognitiveservices/v1" \
  --setting localTtsOn=1 --setting "updateUrl=$base" \
  > "$out/transcript.txt" 2> "$out/stderr.txt" || status=$?
echo "soak.sh: ran $(( $(date +%s) - started )) s of wall-clock time, vellomir-sim exit status $status"
kill "$server_pid" 2>/dev/null || true
wait "$server_pid" 2>/dev/null || true
echo "soak-server: $(tail -n 1 "$out/server.txt")"

grep ' REPORT ' "$out/transcript.txt" > "$out/reports.txt" || true
awk -v rss_bound="$rss_bound" -v frame_bound="$frame_bound" -v asan="$asan" '
  function field(name,   i, kv) {
    for (i = 1; i <= NF; i++) { split($i, kv, "="); if (kv[1] == name) return kv[2] + 0 }
    return -1
  }
  function over(what, value, bound) {
    printf "soak.sh: FAIL at %s: %s %s, above its bound %s\n", label, what, value, bound; failed = 1
  }
  BEGIN {
    printf "%-8s %9s %8s %8s %4s %7s %7s %8s %8s %6s %11s %10s %8s %9s\n", "report", "rss_kb", "anon_kb", "heap_kb",
           "fds", "al_src", "al_buf", "widgets", "windows", "errors", "longest_ms", "at", "p999_ms", "wall_ms"
  }
  {
    label = $3
    printf "%-8s %9d %8d %8d %4d %7d %7d %8d %8d %6d %11.3f %10.1f %8.3f %9.3f\n", label, field("rss_kb"),
           field("rss_anon_kb"), field("heap_kb"), field("fds"),
           field("al_sources"), field("al_buffers"), field("widgets"), field("windows"), field("host_errors"),
           field("longest_ms"), field("longest_at"), field("p999_ms"), field("wall_longest_ms")
    if (field("host_errors") > 0) over("host errors", field("host_errors"), 0)
    if (field("al_bad_deletes") > 0) over("OpenAL names deleted that were not generated", field("al_bad_deletes"), 0)
    if (field("longest_ms") > frame_bound) over("longest frame (ms of plug-in time)", field("longest_ms"), frame_bound)
    if (label == "end") {
      split("widgets windows al_sources al_buffers al_contexts al_devices", left, " ")
      for (i in left) if (field(left[i]) > 0) over(left[i] " left after XPluginStop", field(left[i]), 0)
      if (reports > 0 && field("fds") > first["fds"]) over("fds after XPluginStop", field("fds"), first["fds"])
      next
    }
    reports++
    if (reports == 1) {
      split("rss_kb heap_kb fds al_sources al_buffers al_orphaned widgets windows", names, " ")
      for (i in names) first[names[i]] = field(names[i])
      next
    }
    if (field("rss_kb") > first["rss_kb"] + rss_bound) over("resident memory (kB)", field("rss_kb"), first["rss_kb"] + rss_bound)
    if (!asan && first["heap_kb"] >= 0 && field("heap_kb") > first["heap_kb"] + 256)
      over("heap in use (kB)", field("heap_kb"), first["heap_kb"] + 256)
    # A transfer or synthesis under way at the report holds a few descriptors: 8 more are allowed here,
    # none more at the end, when every worker has stopped.
    if (field("fds") > first["fds"] + 8) over("fds", field("fds"), first["fds"] + 8)
    for (i in names)
      if (names[i] != "rss_kb" && names[i] != "heap_kb" && names[i] != "fds" && field(names[i]) > first[names[i]])
        over(names[i], field(names[i]), first[names[i]])
  }
  END {
    if (reports < 2) { print "soak.sh: FAIL: fewer than two hourly reports"; failed = 1 }
    exit failed
  }' "$out/reports.txt" || { [ "$status" = 0 ] && status=1; }
if [ -s "$out/stderr.txt" ] && grep -qE 'ERROR: (Address|Leak)Sanitizer|runtime error:' "$out/stderr.txt"; then
  echo "soak.sh: FAIL: the sanitizers reported (see $out/stderr.txt)"
  grep -E 'ERROR: (Address|Leak)Sanitizer|runtime error:|SUMMARY' "$out/stderr.txt" | head -20
  [ "$status" = 0 ] && status=1
fi
if [ "$status" != 0 ]; then
  echo "soak.sh: FAILED (status $status); the end of the transcript:"
  tail -n 15 "$out/transcript.txt"
  tail -n 5 "$out/stderr.txt"
else
  echo "soak.sh: passed"
fi
exit "$status"

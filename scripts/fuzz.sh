#!/usr/bin/env bash
# Builds the fuzz targets of the data readers (clang, libFuzzer, AddressSanitizer and UndefinedBehavior-
# Sanitizer, in build-fuzz/) and runs each of them, then reports executions, coverage and findings.
#
#   scripts/fuzz.sh [options] [TARGET...]      every target when none is named (fuzz/targets/*.cpp)
#     --time SECONDS   longest run of one target (default 600)
#     --runs N         most executions of one target (default 1000000)
#     --jobs J         targets run at once (default 2)
#     --until HH:MM    end the whole run then: each target gets at most the time left, shared among the
#                      targets still to run (fast ones that reach --runs early leave their time to the rest)
#     --smoke          a short reproducible run of every target (2000 executions, fixed seed), in a
#                      temporary folder; what the test command runs
#     --no-build       use the targets already built
#     --out DIR        where the grown corpora, logs and findings go (default build-fuzz/campaign)
#     --report         only print the table of the last run in <out>
#
# Exit status 1 when a target reported a finding (the input is in <out>/<target>/artifacts/).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build-fuzz"
time_limit=600
runs=1000000
jobs=2
smoke=0
do_build=1
report_only=0
out=""
until=""
targets=()
while [ $# -gt 0 ]; do
  case "$1" in
    --time) time_limit="$2"; shift 2 ;;
    --runs) runs="$2"; shift 2 ;;
    --jobs) jobs="$2"; shift 2 ;;
    --smoke) smoke=1; shift ;;
    --no-build) do_build=0; shift ;;
    --report) report_only=1; do_build=0; shift ;;
    --out) out="$2"; shift 2 ;;
    --until) until="$(date -d "$2" +%s)" || exit 2; shift 2 ;;
    -h|--help) sed -n '2,17p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    -*) echo "unknown option $1" >&2; exit 2 ;;
    *) targets+=("$1"); shift ;;
  esac
done
if [ ${#targets[@]} -eq 0 ]; then
  for source in "$root"/fuzz/targets/*.cpp; do
    targets+=("$(basename "$source" .cpp)")
  done
fi

seed_args=()
if [ "$smoke" -eq 1 ]; then
  runs=2000
  time_limit=60
  seed_args=(-seed=1)
  out="$(mktemp -d "${TMPDIR:-/tmp}/vellomir-fuzz-smoke-XXXXXX")"
  trap 'rm -rf "$out"' EXIT
fi
[ -n "$out" ] || out="$build/campaign"

if [ "$do_build" -eq 1 ]; then
  CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DVELLOMIR_FUZZ=ON -DVELLOMIR_TESTS=OFF -DVELLOMIR_BENCH=OFF \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  if ! cmake --build "$build" --target fuzz -j "$(nproc)" >"$build/fuzz-build.log" 2>&1; then
    cat "$build/fuzz-build.log" >&2
    exit 2
  fi
  grep -E "warning:" "$build/fuzz-build.log" || true
fi

# One target: its own folder with the grown corpus (the repository's seeds are only read), findings and log.
run_target() {
  local name="$1" dir="$out/$1" time_limit="$2"
  local binary="$build/fuzz/fuzz_$name" seeds="$root/fuzz/corpus/$name" dict="$root/fuzz/dict/$name.dict"
  mkdir -p "$dir/corpus" "$dir/artifacts"
  local args=(-runs="$runs" -max_total_time="$time_limit" -max_len=8192 -print_final_stats=1
              -artifact_prefix="$dir/artifacts/" "${seed_args[@]}")
  [ -f "$dict" ] && args+=(-dict="$dict")
  local started=$SECONDS status=0
  ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}" "$binary" "${args[@]}" "$dir/corpus" "$seeds" >"$dir/log" 2>&1 \
    || status=$?
  echo "$status $((SECONDS - started))" >"$dir/status"
}

running=0
[ "$report_only" -eq 1 ] && targets_to_run=() || targets_to_run=("${targets[@]}")
to_start=${#targets_to_run[@]}
for name in "${targets_to_run[@]}"; do
  if [ ! -x "$build/fuzz/fuzz_$name" ]; then
    echo "no fuzz target $name in $build/fuzz" >&2
    exit 2
  fi
  limit=$time_limit
  if [ -n "$until" ]; then # the time left, shared among the targets still to start (jobs at a time)
    share=$(( (until - $(date +%s)) * jobs / to_start ))
    [ "$share" -lt "$limit" ] && limit=$share
    [ "$limit" -lt 10 ] && limit=10
  fi
  to_start=$((to_start - 1))
  run_target "$name" "$limit" &
  running=$((running + 1))
  if [ "$running" -ge "$jobs" ]; then
    wait -n
    running=$((running - 1))
  fi
done
wait

found=0
printf '%-16s %12s %8s %9s %6s %7s %8s  %s\n' target executions seconds exec/s cov ft corpus findings
for name in "${targets[@]}"; do
  dir="$out/$name"
  read -r status seconds <"$dir/status"
  executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$dir/log" | tail -1)
  last=$(grep -E '^#[0-9]+[[:space:]]+(DONE|NEW|REDUCE|pulse|INITED)' "$dir/log" | tail -1 || true)
  cov=$(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<<"$last")
  ft=$(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<<"$last")
  corpus=$(sed -n 's/.* corp: \([0-9]*\).*/\1/p' <<<"$last")
  if [ -z "$executions" ]; then # a crash ends the run before the final statistics
    executions=$(sed -n 's/^#\([0-9]*\).*/\1/p' <<<"$last")
  fi
  rate=$(( ${executions:-0} / (seconds > 0 ? seconds : 1) ))
  findings=$(find "$dir/artifacts" -type f \( -name 'crash-*' -o -name 'leak-*' -o -name 'timeout-*' -o -name 'oom-*' \) \
               -printf '%f ' 2>/dev/null)
  if [ "$status" -ne 0 ] || [ -n "$findings" ]; then
    found=1
    findings="${findings:-exit status $status}"
    if [ "$smoke" -eq 1 ]; then
      mkdir -p "$build/smoke-findings/$name"
      cp "$dir"/artifacts/* "$build/smoke-findings/$name/" 2>/dev/null || true
      { echo "--- $name (inputs kept in $build/smoke-findings/$name)"; tail -40 "$dir/log"; } >&2
    fi
  fi
  printf '%-16s %12s %8s %9s %6s %7s %8s  %s\n' "$name" "${executions:-?}" "$seconds" "$rate" "${cov:-?}" "${ft:-?}" \
    "${corpus:-?}" "${findings:-none}"
done
[ "$smoke" -eq 1 ] || echo "logs, grown corpora and findings: $out"
exit "$found"

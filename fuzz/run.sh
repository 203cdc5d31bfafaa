#!/usr/bin/env bash
# Runs every fuzzer of a fuzz build for SECONDS each, from the generated starting inputs
# and the kept findings, and fails when any fuzzer finds a fault. A fault's input is
# written to BUILD/findings/<fuzzer>/; once mended, it belongs in fuzz/regressions/<fuzzer>/.
#
#   fuzz/run.sh BUILD SECONDS
set -uo pipefail

build=$1
seconds=$2
here=$(cd "$(dirname "$0")" && pwd)

/usr/bin/python3 "$here/write_seeds.py" "$build/seeds" || exit 1

# The readers log what they refuse; the fuzzers keep their own output readable.
export KORVEX_LOG_FILE=
export UBSAN_OPTIONS=print_stacktrace=1
export LSAN_OPTIONS=suppressions=$here/lsan.supp

failed=()
summary=()
for name in segy points dotenv project view_state; do
  corpus="$build/corpus/$name"
  findings="$build/findings/$name"
  log="$build/fuzz-$name.log"
  mkdir -p "$corpus" "$findings" "$here/regressions/$name"
  echo "== fuzz_$name for $seconds s (log: $log)"
  "$build/bin/fuzz_$name" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -close_fd_mask=2 -print_final_stats=1 -artifact_prefix="$findings/" \
    "$corpus" "$build/seeds/$name" "$here/regressions/$name" >"$log" 2>&1
  status=$?
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' | tail -1)
  if [ $status -ne 0 ]; then
    failed+=("$name")
    summary+=("fuzz_$name: FOUND A FAULT after ${runs:-?} runs (exit $status); input in $findings")
    grep -m1 -E 'ERROR: |runtime error|deadly signal|Timeout|out-of-memory' "$log"
  else
    summary+=("fuzz_$name: ${runs:-?} runs, nothing found")
  fi
done

printf '%s\n' "${summary[@]}"
if [ ${#failed[@]} -ne 0 ]; then
  echo "faults found by: ${failed[*]}"
  exit 1
fi

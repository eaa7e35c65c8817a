#!/usr/bin/env bash
# Runs fuzz targets built with TAV_FUZZ, one after the other:
#   fuzz/run-fuzzers.sh BUILD_DIR SECONDS TARGET...
# Each target fuzzes for SECONDS on a working corpus under
# BUILD_DIR/fuzz-work/corpus/TARGET (where new inputs go) and the seed corpus
# fuzz/corpus/TARGET (only read). A crash, leak, timeout or memory excess
# leaves its input under BUILD_DIR/fuzz-work/artifacts/TARGET/ and the log
# beside it; the script ends with a line per target and fails when any
# target found something. FUZZ_FLAGS adds options to every run.
set -uo pipefail

if [[ $# -lt 3 ]]; then
  echo "usage: $0 BUILD_DIR SECONDS TARGET..." >&2
  exit 2
fi
build=$1
seconds=$2
shift 2
here=$(cd "$(dirname "$0")" && pwd)
work="$build/fuzz-work"

# The longest input each target is given: binary files of the small result
# model and text models of a few dozen objects keep every run fast.
max_len() {
  case $1 in
    model_archive | model_json) echo 16384 ;;
    *) echo 8192 ;;
  esac
}

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1}

status=0
summary=()
for target in "$@"; do
  program="$build/fuzz/fuzz_$target"
  if [[ ! -x $program ]]; then
    echo "run-fuzzers: $program is not built" >&2
    exit 2
  fi
  mkdir -p "$work/corpus/$target" "$work/artifacts/$target"
  log="$work/$target.log"
  options=(-max_total_time="$seconds" -max_len="$(max_len "$target")" -rss_limit_mb=2048 -timeout=25
    -print_final_stats=1 -artifact_prefix="$work/artifacts/$target/")
  [[ -f $here/dict/$target.dict ]] && options+=(-dict="$here/dict/$target.dict")
  echo "== fuzzing $target for $seconds s (log: $log)"
  # shellcheck disable=SC2086
  "$program" "${options[@]}" ${FUZZ_FLAGS:-} "$work/corpus/$target" "$here/corpus/$target" >"$log" 2>&1
  result=$?
  # The final statistics, or with -fork the last progress line.
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  [[ -n $runs ]] || runs=$(grep -oE '^#[0-9]+' "$log" | tail -1 | tr -d '#')
  last=$(grep -E '^#[0-9]+' "$log" | tail -1 | grep -oE 'cov: [0-9]+ ft: [0-9]+')
  if [[ $result -eq 0 ]]; then
    summary+=("$target: ${runs:-?} runs, ${last:-no coverage line}, nothing found")
  else
    status=1
    summary+=("$target: FOUND SOMETHING (exit $result) after ${runs:-?} runs; see $log and $work/artifacts/$target/")
    grep -E '^(==[0-9]+==ERROR|SUMMARY|.*runtime error)' "$log" | head -3
  fi
done
echo "== fuzzing summary"
printf '%s\n' "${summary[@]}"
exit $status

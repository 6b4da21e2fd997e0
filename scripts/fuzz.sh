#!/usr/bin/env bash
# Runs every fuzz target of the portable core for SECONDS seconds each (default 60), on the
# native build with ASan and UBSan, as many at a time as the machine has processors. Each
# target's output goes to build/native/fuzz/<target>.log; one line per target tells the inputs
# tried and whether it failed. What a run finds stays in build/native/fuzz/found/; with
# --merge, the inputs that add coverage are merged into the committed seed corpus
# (fuzz/corpus/<target>/), which keeps it small. A failing target leaves its crash input in
# build/native/fuzz/ and makes the script exit non-zero.
#   bash scripts/fuzz.sh [SECONDS] [--merge] [TARGET...]     e.g. fuzz.sh 600 fuzz_fields
set -uo pipefail
. "$(dirname "$0")/common.sh"

seconds=60 merge= targets=()
for arg in "$@"; do
  case $arg in
    --merge) merge=--merge ;;
    [0-9]*) seconds=$arg ;;
    *) targets+=("$arg") ;;
  esac
done
bash "$root/scripts/setup.sh" || exit 1
build_native || exit 1
bin="$root/build/native/bin"
out="$root/build/native/fuzz"
mkdir -p "$out"

# One target: its run, then (with --merge) the merge into the seeds; prints its verdict.
fuzz_one() {
  local target=$1 found="$out/found/$1" seeds="$root/fuzz/corpus/$1" log="$out/$1.log" rc=0
  mkdir -p "$found" "$seeds"
  (cd "$out" && "$bin/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=4096 \
     -print_final_stats=1 "$found" "$seeds") >"$log" 2>&1 || rc=1
  if [ "$merge" = "--merge" ] && [ $rc = 0 ]; then
    (cd "$out" && "$bin/$target" -merge=1 -max_len=4096 "$seeds" "$found") >>"$log" 2>&1 || rc=1
  fi
  local runs
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  if [ $rc = 0 ]; then echo "$target: ${runs:-0} inputs in $seconds s, nothing found"
  else echo "$target: FAILED after ${runs:-?} inputs, see $log"; fi
  return $rc
}
export -f fuzz_one
export seconds merge bin out root

[ ${#targets[@]} -gt 0 ] || for f in "$bin"/fuzz_*; do targets+=("$(basename "$f")"); done
step "${#targets[@]} fuzz targets, $seconds s each, $jobs at a time"
printf '%s\n' "${targets[@]}" | xargs -P "$jobs" -I{} bash -c 'fuzz_one "$1"' _ {}

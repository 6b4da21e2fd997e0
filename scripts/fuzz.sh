#!/usr/bin/env bash
# Runs every fuzz target of the portable core for SECONDS seconds each (default 60), on the
# native build with ASan and UBSan. What a run finds stays in build/native/fuzz/found/; with
# --merge, the inputs that add coverage are merged into the committed seed corpus
# (fuzz/corpus/<target>/), which keeps it small. A failing target leaves its crash input in
# build/native/fuzz/ and makes the script exit non-zero.
#   bash scripts/fuzz.sh [SECONDS] [--merge]
set -uo pipefail
. "$(dirname "$0")/common.sh"

seconds=${1:-60}
merge=${2:-}
build_native || exit 1
bin="$root/build/native/bin"
out="$root/build/native/fuzz"
failed=0
for fuzzer in "$bin"/fuzz_*; do
  target=$(basename "$fuzzer")
  found="$out/found/$target"
  seeds="$root/fuzz/corpus/$target"
  mkdir -p "$found" "$seeds"
  step "$target: $seconds s"
  (cd "$out" && "$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=4096 \
     -print_final_stats=1 "$found" "$seeds") || failed=1
  if [ "$merge" = "--merge" ]; then
    (cd "$out" && "$fuzzer" -merge=1 -max_len=4096 "$seeds" "$found") || failed=1
  fi
done
exit $failed

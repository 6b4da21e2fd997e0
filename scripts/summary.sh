#!/usr/bin/env bash
# Prints the reliability table of a test run from the test runner's log: per family the inputs
# tried (fuzz runs and the TALLY lines of tests/tally.h), the faults injected and the data lost;
# then the crashes seen in any test program or fuzz target.
#   bash scripts/summary.sh build/Testing/Temporary/LastTest.log
set -uo pipefail
log=${1:?usage: summary.sh LastTest.log}
[ -f "$log" ] || { echo "no test log at $log" >&2; exit 1; }

awk '
  function family(name) { sub(/^fuzz_/, "", name); gsub(/_/, " ", name); return name }
  function add(f, i, x, l) {
    if (!(f in inputs)) order[++families] = f
    inputs[f] += i; faults[f] += x; lost[f] += l
  }
  # One entry per test: its name, whether it ended normally, and any crash it reported.
  /^[0-9]+\/[0-9]+ Testing: / { test = $3; entries++; finished = 0; crashed = 0; next }
  /^stat::number_of_executed_units:/ && test ~ /^fuzz_/ { add(family(test), $2, 0, 0) }
  /^TALLY / {
    split("", kv)
    for (n = 2; n <= NF; n++) { split($n, pair, "="); kv[pair[1]] = pair[2] }
    f = substr($0, index($0, "family=") + 7); sub(/ inputs=.*/, "", f)
    add(f, kv["inputs"], kv["faults"], kv["lost"])
  }
  /^\[  PASSED  \]|^\[  FAILED  \]|^Done [0-9]+ runs/ { finished = 1 }
  /AddressSanitizer|UndefinedBehaviorSanitizer|runtime error:|deadly signal|Unhandled exception|Unhandled page fault|Segmentation fault/ { crashed = 1 }
  /^Test Failed/ && !finished { crashed = 1 }
  /^"[^"]+" end time:/ { if (crashed) crashes++ }
  END {
    printf "\n== reliability summary\n"
    printf "%-16s %14s %16s %10s\n", "family", "inputs tried", "faults injected", "data lost"
    for (n = 1; n <= families; n++) {
      f = order[n]
      printf "%-16s %14d %16d %10d\n", f, inputs[f], faults[f], lost[f]
      ti += inputs[f]; tx += faults[f]; tl += lost[f]
    }
    printf "%-16s %14d %16d %10d\n", "all", ti, tx, tl
    printf "crashes: %d (in %d test programs and fuzz targets)\n", crashes, entries
    printf "data lost: %d\n", tl
  }
' "$log"

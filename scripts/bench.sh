#!/usr/bin/env bash
# The benchmarks against peers: the portable core natively (g++, -O2) against Qt 5, uchardet,
# ICU, fnmatch and the standard library, then the package load under Wine against an empty
# DLL. Prints every figure with the ratio ours/peer and the verdict of each target.
# Arguments go to the native benchmark program (for example --benchmark_filter=kv_Like).
# Not part of the test command.
set -uo pipefail
. "$(dirname "$0")/common.sh"
jobs=$(( jobs > 2 ? 2 : jobs ))

# Runs a command quietly; prints its output when it fails.
quiet() {
  local log status
  log=$(mktemp)
  "$@" >"$log" 2>&1
  status=$?
  [ $status -eq 0 ] || cat "$log" >&2
  rm -f "$log"
  return $status
}

# The peers' development packages, installed when missing (as root), otherwise named.
packages=(qtbase5-dev libuchardet-dev libicu-dev libbenchmark-dev pkg-config cmake g++)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" != 0 ]; then
    echo "Missing benchmark packages. As root, run: apt-get update && apt-get install -y ${missing[*]}" >&2
    exit 1
  fi
  step "installing the benchmarks' packages: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq && apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null || exit 1
fi

step "native build: $(g++ --version | head -1), -O2 (build/bench)"
quiet cmake -S "$root/bench" -B "$root/build/bench" -DCMAKE_CXX_COMPILER=g++ -DCMAKE_BUILD_TYPE=Release &&
  quiet cmake --build "$root/build/bench" -j "$jobs" || exit 1

step "native benchmarks"
"$root/build/bench/wtarn_bench" --data="$root/build/bench/data" "$@" || exit 1

step "package load under Wine: $(i686-w64-mingw32-g++-posix --version | head -1), -O2 (build/bench-win)"
bash "$root/scripts/setup.sh" || exit 1
if quiet cmake -S "$root" -B "$root/build/bench-win" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" \
     -DCMAKE_BUILD_TYPE=Release "-DCMAKE_CXX_FLAGS_RELEASE=-O2 -DNDEBUG" &&
   quiet cmake --build "$root/build/bench-win" -j "$jobs" --target package_load; then
  start_display || exit 1
  start_wine
  (cd "$root/build/bench-win/bin" && "$root/scripts/wine-run" package_load.exe)
else
  echo "  package load not measured: the Windows build of the package failed" >&2
  exit 1
fi

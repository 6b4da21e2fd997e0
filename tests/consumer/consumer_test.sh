#!/usr/bin/env bash
# The package as a client program meets it: installs the Windows build into a fresh prefix
# (cmake --install), checks that only public headers went in, builds tests/consumer on its own
# from that prefix with find_package(WTarn CONFIG REQUIRED), and runs the client under Wine
# with the prefix's bin folder on its DLL search path.
#   WTARN_WINE=10 bash tests/consumer/consumer_test.sh WINDOWS_BUILD_FOLDER
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${1:?usage: consumer_test.sh WINDOWS_BUILD_FOLDER}
. "$root/scripts/wine-env.sh"
work="$build/consumer-wine$WTARN_WINE"
rm -rf "$work"
prefix="$work/prefix"

cmake --install "$build" --prefix "$prefix" >"$work.log" 2>&1 || { cat "$work.log"; exit 1; }
stray=$(cd "$prefix/include/WTarn" && find . -name '*.h' | grep -E '^\./(host|companion|tests|bench|fuzz)/|_platform\.h$')
[ -z "$stray" ] || { echo "headers that no client needs were installed: $stray"; exit 1; }
for f in bin/WTarnD11.dll lib/WTarnD11.lib.a lib/cmake/WTarn/WTarnConfig.cmake lib/cmake/WTarn/WTarnConfigVersion.cmake; do
  [ -f "$prefix/$f" ] || { echo "missing from the prefix: $f"; exit 1; }
done

cmake -S "$here" -B "$work/build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" \
  -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_BUILD_TYPE=Release >>"$work.log" 2>&1 &&
  cmake --build "$work/build" >>"$work.log" 2>&1 || { cat "$work.log"; exit 1; }

cd "$work/build" || exit 1
WINEPATH="Z:${prefix//\//\\}\\bin" timeout 120 "$root/scripts/wine-run" consumer.exe

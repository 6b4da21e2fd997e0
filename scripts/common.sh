# Sourced by the project's commands: builds and the display and Wine they run under.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
jobs=$(nproc 2>/dev/null || echo 2)

step() { printf '\n== %s\n' "$*"; }

# What to stop when the command ends: the Xvfb and the wineserver that it started.
cleanup=":"
trap 'eval "$cleanup"' EXIT

# The Windows build (package, host, companion, tests) in build/win (or $WTARN_WIN_BUILD);
# arguments name targets.
win_build=${WTARN_WIN_BUILD:-$root/build/win}
. "$root/scripts/wine-env.sh"
# The Wines that run here: 8 always, 10 once its Debian 13 root is made.
wines() {
  if [ -f "$WTARN_DEBIAN13_ROOT/.wtarn-recipe" ]; then echo "8 10"; else echo 8; fi
}
build_windows() {
  local w
  w=$(wines)
  cmake -S "$root" -B "$win_build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DWTARN_WINES="${w// /;}" >/dev/null &&
  cmake --build "$win_build" -j "$jobs" ${1:+--target "$@"} -- --no-print-directory
}

# The native build of the portable core with sanitizers and fuzz targets, in build/native (or
# $WTARN_NATIVE_BUILD).
native_build=${WTARN_NATIVE_BUILD:-$root/build/native}
build_native() {
  cmake -S "$root" -B "$native_build" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=Debug -DWTARN_SANITIZE=ON -DWTARN_FUZZ=ON >/dev/null &&
  cmake --build "$native_build" -j "$jobs" -- --no-print-directory
}

# A display for windows: the caller's, or a private Xvfb on :99 stopped when the shell exits.
start_display() {
  if [ -n "${DISPLAY:-}" ] && [ "${DISPLAY}" != ":99" ]; then return 0; fi
  export DISPLAY=:99
  if [ -e /tmp/.X11-unix/X99 ] && kill -0 "$(cat /tmp/.X99-lock 2>/dev/null | tr -d ' ')" 2>/dev/null; then
    return 0
  fi
  rm -f /tmp/.X99-lock /tmp/.X11-unix/X99
  Xvfb :99 -screen 0 1280x900x24 -nolisten tcp </dev/null >/dev/null 2>&1 &
  xvfb_pid=$!
  cleanup="$cleanup; kill $xvfb_pid 2>/dev/null"
  for _ in $(seq 50); do [ -e /tmp/.X11-unix/X99 ] && return 0; sleep 0.1; done
  echo "Xvfb did not start" >&2
  return 1
}

# Each Wine's private prefix, made once, and one wineserver per Wine kept for the whole run;
# arguments name the Wines (default: every one that runs here).
start_wine() {
  local w
  for w in ${*:-$(wines)}; do
    (
      export WTARN_WINE=$w
      . "$root/scripts/wine-env.sh"
      if [ ! -f "$WINEPREFIX/system.reg" ]; then
        step "making the Wine $w prefix (once)"
        wine_in wineboot -i </dev/null >/dev/null 2>&1
        wine_in wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
          </dev/null >/dev/null 2>&1
      fi
      # Started here, outside the test runner: a wineserver started by a test would hold the
      # runner's output pipe open, and the runner would wait for it to end.
      wine_in wineserver -p </dev/null >/dev/null 2>&1
      # The session's own processes (services, devices) start with the first program and live
      # as long as the wineserver: start them here too, so that they hold no test's output.
      wine_in wine cmd.exe /c exit </dev/null >/dev/null 2>&1
    )
    cleanup="$cleanup; (WTARN_WINE=$w; . '$root/scripts/wine-env.sh'; wine_in wineserver -k 2>/dev/null)"
  done
}

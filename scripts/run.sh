#!/usr/bin/env bash
# The main job: builds the package and the stand-in IDE and runs the IDE loading the package.
set -uo pipefail
. "$(dirname "$0")/common.sh"

bash "$root/scripts/setup.sh" || exit 1
step "Windows build (MinGW-w64 i686)"
build_windows wtarn_host || exit 1
start_display || exit 1
start_wine
step "stand-in IDE"
cd "$root/build/win/bin" && "$root/scripts/wine-run" wtarn_host.exe "$@"

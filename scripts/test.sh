#!/usr/bin/env bash
# Runs every test: the portable core natively (ASan, UBSan, fuzz targets) and everything
# under Wine. Ends with the test runner's summary; exits non-zero on any failure.
set -uo pipefail
. "$(dirname "$0")/common.sh"

bash "$root/scripts/setup.sh" || exit 1
step "native build (clang, sanitizers)"
build_native || exit 1
step "Windows build (MinGW-w64 i686)"
build_windows || exit 1
start_display || exit 1
start_wine

# One CTest run over both builds, so that one summary closes the output.
cat > "$root/build/CTestTestfile.cmake" <<EOT
subdirs("$root/build/native" "$root/build/win")
EOT
step "tests"
cd "$root/build" && ctest --output-on-failure --timeout 900

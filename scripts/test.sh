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
subdirs("$native_build" "$win_build")
EOT
step "tests"
# The runner's closing summary is held back until the reliability table has been printed, so
# that the runner's verdict stays the last thing said.
cd "$root/build" || exit 1
summary_start='/tests passed, [0-9]* tests failed out of/'
ctest --output-on-failure --timeout 900 2>&1 | tee ctest-output.txt | sed -u "${summary_start},\$d"
status=${PIPESTATUS[0]}
bash "$root/scripts/summary.sh" Testing/Temporary/LastTest.log
echo
sed -n "${summary_start},\$p" ctest-output.txt
exit "$status"

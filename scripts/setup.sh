#!/usr/bin/env bash
# Installs what the project needs to build and test, when it is missing: Debian packages, the
# Debian 13 root with Wine 10 (scripts/debian13-root.sh; without it only Wine 8 runs), and an
# emulator for 32-bit programs where the kernel runs none (scripts/i386.sh).
# As root it installs everything itself; otherwise it names what to install.
set -euo pipefail

need_cmds=(cmake g++ clang i686-w64-mingw32-g++-posix wine Xvfb xvfb-run makensis)
need_files=(/usr/src/googletest/CMakeLists.txt /usr/lib/i386-linux-gnu/wine/i386-windows/kernel32.dll
            /usr/bin/import /usr/lib/llvm-14/lib/clang/14.0.6/lib/linux/libclang_rt.fuzzer-x86_64.a)
packages=(cmake g++ clang libclang-rt-14-dev g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix
          wine wine32:i386 xvfb xauth googletest imagemagick nsis)

missing() {
  local c f
  for c in "${need_cmds[@]}"; do command -v "$c" >/dev/null 2>&1 || return 0; done
  for f in "${need_files[@]}"; do [ -e "$f" ] || return 0; done
  return 1
}

here=$(cd "$(dirname "$0")" && pwd)
# After the packages: Wine 10's root, then what 32-bit programs need to run.
finish() {
  bash "$here/debian13-root.sh" || true
  bash "$here/i386.sh"
}

missing || { finish; exit; }
if [ "$(id -u)" != 0 ]; then
  echo "Missing build tools. As root, run: dpkg --add-architecture i386 && apt-get update &&" >&2
  echo "  apt-get install -y ${packages[*]}" >&2
  exit 1
fi
echo "== installing build and test packages (once per machine)"
export DEBIAN_FRONTEND=noninteractive
dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${packages[@]}" >/dev/null
missing && { echo "setup: packages installed but tools still missing" >&2; exit 1; }
echo "== packages ready"
finish

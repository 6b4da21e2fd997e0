#!/usr/bin/env bash
# Makes sure this machine runs 32-bit x86 Linux programs, which both Wines need for their
# 32-bit loader. Some kernels run none (their virtual machine offers 64-bit user code only);
# there the kernel is told (binfmt_misc) to run them through Debian 13's user-mode CPU
# emulator, qemu-i386 from the Debian 13 root. Debian 12's qemu 7.2 would do too, but takes
# about 50 s to start each Wine process against a few tenths of a second. The registration
# lasts until the machine restarts, as an installed package would. Exits 0 when 32-bit
# programs run; otherwise prints one line why not and exits 1.
#   bash scripts/i386.sh
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh"
probe=/usr/lib/wine/wine  # the system's 32-bit Wine loader

runs() { "$probe" --version >/dev/null 2>&1; }
runs && exit 0
fail() { echo "i386: this kernel runs no 32-bit programs and $*; Wine cannot run" >&2; exit 1; }
[ -x "$probe" ] || fail "the system's 32-bit Wine is missing"
[ "$(id -u)" = 0 ] || fail "registering an emulator for them needs root"
emulator="$WTARN_DEBIAN13_ROOT/usr/bin/qemu-i386"
[ -x "$emulator" ] || fail "there is no Debian 13 root with its emulator"
binfmt=/proc/sys/fs/binfmt_misc
[ -f "$binfmt/register" ] || mount -t binfmt_misc binfmt_misc "$binfmt" 2>/dev/null ||
  fail "the kernel offers no binfmt_misc"
# 32-bit little-endian ELF programs and libraries for the i386; "F" opens the emulator now, so
# that it serves inside the Debian 13 root too.
[ -e "$binfmt/wtarn-i386" ] && echo -1 >"$binfmt/wtarn-i386"
magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
echo ":wtarn-i386:M::$magic:$mask:$emulator:F" >"$binfmt/register" 2>/dev/null ||
  fail "the emulator could not be registered"
runs || fail "even its emulator did not start the Wine loader"
echo "== 32-bit programs run through Debian 13's qemu-i386 (this kernel runs none itself)"

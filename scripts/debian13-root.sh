#!/usr/bin/env bash
# Makes the Debian 13 root that holds Wine 10, once per machine, outside the clone so that
# every clone and CI run on this machine shares it: /var/cache/wtarn/debian13 (or
# $WTARN_DEBIAN13_ROOT). It holds Wine 10 with its 32-bit loader and preloader, Debian 13's CPU
# emulator for 32-bit programs (scripts/i386.sh) and the fault-number library that Wine needs
# under that emulator (scripts/i386-trapno.c). A few minutes and 1.8 GB on a fresh machine.
# Prints nothing and exits 0 when the root is ready; otherwise prints one line why it cannot
# be had (not root, no network, no debootstrap) and exits 1. Programs run in it through
# scripts/in-debian13.
#   bash scripts/debian13-root.sh
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh"
debian13_root=$WTARN_DEBIAN13_ROOT

# What the root holds. The preloader keeps the Windows programs' own address (0x400000) free:
# without it the emulator puts Wine's loader there, and programs that cannot move (installers
# made with NSIS) do not start. A root made from another list gets the packages added.
packages="wine wine32:i386 wine32-preloader:i386 qemu-user e2fsprogs"
shim="$here/i386-trapno.c"
recipe="trixie minbase; $packages; $(sha1sum <"$shim" | cut -c1-12)"
[ "$(cat "$debian13_root/.wtarn-recipe" 2>/dev/null)" = "$recipe" ] && exit 0

say() { echo "Wine 10: $*; going on with the system's Wine 8 only" >&2; }
[ "$(id -u)" = 0 ] || { say "making its Debian 13 root needs root"; exit 1; }
if ! command -v debootstrap >/dev/null; then
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends debootstrap \
    >/dev/null 2>&1 || { say "debootstrap is missing and cannot be installed"; exit 1; }
fi

mkdir -p "$(dirname "$debian13_root")"
exec 9>"$debian13_root.lock"
flock 9  # another run may be making it right now: wait for it, then look again
[ "$(cat "$debian13_root/.wtarn-recipe" 2>/dev/null)" = "$recipe" ] && exit 0

log="$debian13_root.log"
# Installs the packages into a root, through a private mount namespace: its mounts end with it.
install_packages() {
  cp /etc/resolv.conf "$1/etc/resolv.conf" &&
  unshare --mount -- bash -c '
    mount --rbind /dev "$1/dev" && mount -t proc proc "$1/proc" &&
    chroot "$1" /bin/sh -c "
      export DEBIAN_FRONTEND=noninteractive
      dpkg --add-architecture i386 && apt-get update -qq &&
      apt-get install -y -qq --no-install-recommends $2 && apt-get clean"' _ "$1" "$packages" \
    >>"$log" 2>&1
}

if [ -f "$debian13_root/.wtarn-recipe" ]; then
  echo "== adding packages to the Debian 13 root in $debian13_root"
  : >"$log"
  install_packages "$debian13_root" || { say "its Debian 13 root could not be updated (see $log)"; exit 1; }
else
  echo "== making the Debian 13 root with Wine 10 in $debian13_root (once per machine)"
  new="$debian13_root.new"
  rm -rf "$new"
  if ! debootstrap --variant=minbase trixie "$new" http://deb.debian.org/debian >"$log" 2>&1 ||
     ! install_packages "$new"; then
    rm -rf "$new"
    say "its Debian 13 root could not be made (see $log)"
    exit 1
  fi
  rm -rf "$debian13_root"
  mv "$new" "$debian13_root"
fi
# The fault-number library that Wine's 32-bit processes load under the emulator (and a no-op of
# the same name for the 64-bit programs they start).
lib="$debian13_root/usr/local/lib"
mkdir -p "$lib/i386-linux-gnu" "$lib/x86_64-linux-gnu"
if ! gcc -m32 -O2 -fPIC -shared -nostdlib -fno-stack-protector -o "$lib/i386-linux-gnu/wtarn-trapno.so" \
       "$shim" >>"$log" 2>&1 ||
   ! echo 'void wtarn_trapno(void) {}' |
       gcc -x c -O2 -fPIC -shared -nostdlib -o "$lib/x86_64-linux-gnu/wtarn-trapno.so" - >>"$log" 2>&1; then
  say "its fault-number library could not be built (see $log)"
  exit 1
fi
echo "$recipe" >"$debian13_root/.wtarn-recipe"
rm -f "$log"
echo "== Debian 13 root ready: wine $(chroot "$debian13_root" dpkg-query -W -f '${Version}' wine)"

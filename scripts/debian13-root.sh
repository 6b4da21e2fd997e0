#!/usr/bin/env bash
# Makes the Debian 13 root that holds Wine 10, once per machine, outside the clone so that
# every clone and CI run on this machine shares it: /var/cache/wtarn/debian13 (or
# $WTARN_DEBIAN13_ROOT). It holds Wine 10 with its 32-bit loader and Debian 13's CPU emulator
# for 32-bit programs (scripts/i386.sh). About a minute and 1.8 GB on a fresh machine.
# Prints nothing and exits 0 when the root is ready; otherwise prints one line why it cannot
# be had (not root, no network, no debootstrap) and exits 1. Programs run in it through
# scripts/in-debian13.
#   bash scripts/debian13-root.sh
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh"
debian13_root=$WTARN_DEBIAN13_ROOT

# What the root holds; a root made from another list is made again.
recipe="trixie minbase; wine wine32:i386 qemu-user e2fsprogs"
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

echo "== making the Debian 13 root with Wine 10 in $debian13_root (once per machine)"
new="$debian13_root.new"
log="$debian13_root.log"
rm -rf "$new"
# The packages go in through a private mount namespace: its mounts end with it.
if debootstrap --variant=minbase trixie "$new" http://deb.debian.org/debian >"$log" 2>&1 &&
   cp /etc/resolv.conf "$new/etc/resolv.conf" &&
   unshare --mount -- bash -c '
     mount --rbind /dev "$1/dev" && mount -t proc proc "$1/proc" &&
     chroot "$1" /bin/sh -c "
       export DEBIAN_FRONTEND=noninteractive
       dpkg --add-architecture i386 && apt-get update -qq &&
       apt-get install -y -qq --no-install-recommends wine wine32:i386 qemu-user e2fsprogs &&
       apt-get clean"' _ "$new" >>"$log" 2>&1; then
  echo "$recipe" >"$new/.wtarn-recipe"
  rm -rf "$debian13_root"
  mv "$new" "$debian13_root"
  rm -f "$log"
  echo "== Debian 13 root ready: wine $(chroot "$debian13_root" dpkg-query -W -f '${Version}' wine)"
else
  rm -rf "$new"
  say "its Debian 13 root could not be made (see $log)"
  exit 1
fi

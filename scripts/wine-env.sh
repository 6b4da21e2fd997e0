# Sourced: the project's private Wine prefixes, quiet, 32-bit, no crash dialogs. WTARN_WINE
# picks the Wine: 8, the system's (the default), or 10, in the Debian 13 root that
# scripts/debian13-root.sh makes; each has its own prefix. wine_in runs a Wine command (wine,
# wineserver, wineboot) of the chosen Wine.
_wtarn_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WTARN_WINE="${WTARN_WINE:-8}"
export WTARN_DEBIAN13_ROOT="${WTARN_DEBIAN13_ROOT:-/var/cache/wtarn/debian13}"
if [ "$WTARN_WINE" = 10 ]; then
  export WINEPREFIX="${WTARN_WINE10PREFIX:-$_wtarn_root/build/wineprefix10}"
else
  export WINEPREFIX="${WTARN_WINEPREFIX:-$_wtarn_root/build/wineprefix}"
fi
export WINEARCH=win32
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export DISPLAY="${DISPLAY:-:99}"
wine_in() {
  if [ "$WTARN_WINE" = 10 ]; then "$_wtarn_root/scripts/in-debian13" "$@"; else "$@"; fi
}

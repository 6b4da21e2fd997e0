# Sourced: the project's private Wine prefix, quiet, 32-bit, no crash dialogs.
_wtarn_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX="${WTARN_WINEPREFIX:-$_wtarn_root/build/wineprefix}"
export WINEARCH=win32
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export DISPLAY="${DISPLAY:-:99}"

#!/usr/bin/env bash
# The Welcome Page as a user sees it: the stand-in IDE opens the "Tarn" view on a Wine desktop,
# the view embeds the real companion, and screenshots of the screen must show the companion's
# drawing inside Panel1 (its caption band, hardly any of the panel's colour), once embedded and
# again after the page has been resized. Wine 8 paints no window of another process inside
# ours (the embedding itself is checked by the plug-in tests), so there the test is skipped.
#   WTARN_WINE=10 bash tests/picture/welcome_page_test.sh BIN_FOLDER
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
. "$root/scripts/wine-env.sh"
. "$root/scripts/picture.sh"
bin=${1:?usage: welcome_page_test.sh BIN_FOLDER}
if [ "$WTARN_WINE" = 8 ]; then
  echo "skipped: Wine 8 paints no window of another process inside ours"
  exit 77
fi

work=$(mktemp -d "$bin/../picture.XXXXXX")
trap 'rm -rf "$work"' EXIT
road_settings "$work" "$bin" Alpha Beta
road="$work/road.txt"

cd "$bin" || exit 1
"$root/scripts/wine-run" explorer /desktop=WTarnPicture,1024x700 wtarn_host.exe \
  --package="$(win "$bin/WTarnD11.dll")" --open=WTarn \
  --exit-after=25 --resize=760x520 --resize-after=4 --transcript="$(win "$road")" \
  --appdata="$(win "$work/AppData")" >/dev/null 2>&1 &
ide=$!

# A screenshot once the transcript has a line; Panel1 where the line's kind last placed it.
status=0
check() {
  if screenshot_after "$road" "$work/shot.png" "$1"; then
    echo -n "after \"$1\": "
    companion_shows "$work/shot.png" "$road" "$2" || status=1
  else
    status=1
  fi
}
check "embedded window at" "embedded window at"
check "page resized to" "embedded window now at"
for _ in $(seq 400); do kill -0 "$ide" 2>/dev/null || break; sleep 0.1; done
kill "$ide" 2>/dev/null && { echo "the stand-in IDE did not end by itself"; status=1; }
wait "$ide" 2>/dev/null
[ $status = 0 ] && [ -z "${WTARN_SHOW_ROAD:-}" ] || cat "$road"
exit $status

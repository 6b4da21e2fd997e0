#!/usr/bin/env bash
# The main job: builds the package, the stand-in IDE and the stand-in companion, and runs the
# whole road under Wine 10 (Wine 8 where the Debian 13 root cannot be made) on a virtual desktop: the IDE loads the package, opens the "Tarn" view
# on its Welcome Page, the view starts the companion and embeds its window, the page is resized,
# the companion asks for a project, the user presses "Show PlugIn" (the companion closes and
# starts again), the view closes and the package unloads. Prints the transcript (each step with
# its time), saves a screenshot of the Welcome Page with the companion inside it in
# docs/welcome-page.png and says how much of the panel the companion's drawing fills. Ends by
# itself.
set -uo pipefail
wine_asked=${WTARN_WINE:-}  # WTARN_WINE=8 runs the road on Wine 8
. "$(dirname "$0")/common.sh"

bash "$root/scripts/setup.sh" || exit 1
step "Windows build (MinGW-w64 i686)"
build_windows wtarn_host TarnPlugIn || exit 1
start_display || exit 1
# Wine 10 paints the companion's window inside the page; Wine 8 draws no window of another
# process inside ours, so there the picture shows an empty panel.
export WTARN_WINE=${wine_asked:-$(wines | awk '{print $NF}')}
[ "$WTARN_WINE" = 10 ] || echo "the road runs on Wine 8, which does not paint the embedded window"
start_wine "$WTARN_WINE"

# The user's settings for the road: TARN.INI names the companion and its project folder.
bin="$win_build/bin"
demo="$win_build/demo"
win() { printf 'Z:%s' "${1//\//\\}"; }
rm -rf "$demo"
mkdir -p "$demo/AppData/morvane/TARN" "$demo/Projects"
for p in Demo Tarn WelcomeKit; do printf '<Project/>\r\n' > "$demo/Projects/$p.dproj"; done
printf '[PlugInSettings]\r\nProgramlocation=%s\r\n[Projects]\r\nFolder=%s\r\n' \
  "$(win "$bin/TarnPlugIn.exe")" "$(win "$demo/Projects")" > "$demo/AppData/morvane/TARN/TARN.INI"

step "the road in the stand-in IDE (about 30 s)"
transcript="$demo/transcript.txt"
shot="$root/docs/welcome-page.png"
mkdir -p "$root/docs"
cd "$bin" || exit 1
TARNPLUGIN_SWITCHES="\"/send=$(win "$demo/Projects/Demo.dproj")\" /sendafter=3000" \
  "$root/scripts/wine-run" explorer /desktop=WTarn,1024x700 wtarn_host.exe --open=WTarn --press-button=16 \
  --exit-after=28 --resize=1000x660 --transcript="$(win "$transcript")" --appdata="$(win "$demo/AppData")" \
  >/dev/null 2>&1 &
ide=$!

# The screenshot once the page has been resized and the IDE has opened the companion's project:
# the companion's window inside the page, the project in the page's status line.
. "$root/scripts/picture.sh"
for _ in $(seq 300); do
  grep -q "page resized to" "$transcript" 2>/dev/null && grep -q "OpenProject" "$transcript" && break
  sleep 0.1
done
sleep 1.5
import -window root -crop 1024x700+0+0 +repage "$shot" 2>/dev/null &&
  echo "screenshot of the Welcome Page: docs/welcome-page.png"
if [ "$WTARN_WINE" = 10 ]; then
  companion_shows "$shot" "$transcript" || echo "the companion's window does NOT show inside the page"
fi

for _ in $(seq 600); do kill -0 "$ide" 2>/dev/null || break; sleep 0.1; done
kill "$ide" 2>/dev/null
wait "$ide" 2>/dev/null
step "transcript"
cat "$transcript"
grep -q "unloaded WTarnD11.dll" "$transcript"

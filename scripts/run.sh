#!/usr/bin/env bash
# The main job: builds the package, the stand-in IDE and the stand-in companion, and runs the
# whole road under Wine on a virtual desktop: the IDE loads the package, opens the "Tarn" view
# on its Welcome Page, the view starts the companion and embeds its window, the page is resized,
# the companion asks for a project, the user presses "Show PlugIn" (the companion closes and
# starts again), the view closes and the package unloads. Prints the
# transcript (each step with its time) and saves a screenshot of the Welcome Page in
# docs/welcome-page.png. Ends by itself.
set -uo pipefail
. "$(dirname "$0")/common.sh"

bash "$root/scripts/setup.sh" || exit 1
step "Windows build (MinGW-w64 i686)"
build_windows wtarn_host TarnPlugIn || exit 1
start_display || exit 1
start_wine

# The user's settings for the road: TARN.INI names the companion and its project folder.
bin="$win_build/bin"
demo="$win_build/demo"
win() { printf 'Z:%s' "${1//\//\\}"; }
rm -rf "$demo"
mkdir -p "$demo/AppData/morvane/TARN" "$demo/Projects"
for p in Demo Tarn WelcomeKit; do printf '<Project/>\r\n' > "$demo/Projects/$p.dproj"; done
printf '[PlugInSettings]\r\nProgramlocation=%s\r\n[Projects]\r\nFolder=%s\r\n' \
  "$(win "$bin/TarnPlugIn.exe")" "$(win "$demo/Projects")" > "$demo/AppData/morvane/TARN/TARN.INI"

step "the road in the stand-in IDE (about 20 s)"
transcript="$demo/transcript.txt"
shot="$root/docs/welcome-page.png"
mkdir -p "$root/docs"
cd "$bin" || exit 1
TARNPLUGIN_SWITCHES="\"/send=$(win "$demo/Projects/Demo.dproj")\" /sendafter=5000" \
  "$root/scripts/wine-run" explorer /desktop=WTarn,1024x700 wtarn_host.exe --open=WTarn --press-button=10 \
  --exit-after=17 --resize=1000x660 --transcript="$(win "$transcript")" --appdata="$(win "$demo/AppData")" \
  >/dev/null 2>&1 &
ide=$!

# The screenshot once the button has closed the companion: Wine does not draw the embedded
# window of another process, but the page, its entry, the button and the project request show.
for _ in $(seq 300); do
  grep -q "the embedded window is gone" "$transcript" 2>/dev/null && break
  sleep 0.1
done
sleep 0.5
import -window root -crop 1024x700+0+0 +repage "$shot" 2>/dev/null &&
  echo "screenshot of the Welcome Page: docs/welcome-page.png"

for _ in $(seq 600); do kill -0 "$ide" 2>/dev/null || break; sleep 0.1; done
kill "$ide" 2>/dev/null
wait "$ide" 2>/dev/null
step "transcript"
cat "$transcript"
grep -q "unloaded WTarnD11.dll" "$transcript"

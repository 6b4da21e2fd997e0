#!/usr/bin/env bash
# The main job: builds the package, its installer, the stand-in IDE and the stand-in companion,
# and takes a user's road under Wine on a virtual desktop: WTarnD11-Setup.exe installs the
# plug-in silently into its default folder, the IDE starts with no package named and loads it
# from its Known Packages list, opens the "Tarn" view on its Welcome Page, the view starts the
# companion and embeds its window, the page is resized, the companion asks for a project, the
# user presses "Show PlugIn" (the companion closes and starts again), the view closes, the
# package unloads, the IDE ends, and the uninstaller removes the plug-in again. Prints the
# transcript (each step with its time), saves a screenshot of the Welcome Page with the
# companion inside it in docs/welcome-page.png and says how much of the panel the companion's
# drawing fills. Ends by itself; exits non-zero when a step of the road failed.
#
# The road runs on Wine 10 (Wine 8 where the Debian 13 root cannot be made; WTARN_WINE=8 picks
# it), which paints the companion's window inside the page.
set -uo pipefail
wine_asked=${WTARN_WINE:-}
. "$(dirname "$0")/common.sh"

bash "$root/scripts/setup.sh" || exit 1
step "Windows build (MinGW-w64 i686)"
build_windows wtarn_host TarnPlugIn installer || exit 1
start_display || exit 1
export WTARN_WINE=${wine_asked:-$(wines | awk '{print $NF}')}
. "$root/scripts/wine-env.sh"  # that Wine's prefix
[ "$WTARN_WINE" = 10 ] || echo "the road runs on Wine 8, which does not paint the embedded window"
start_wine "$WTARN_WINE"

# The user's settings for the road: TARN.INI names the companion and its project folder.
. "$root/scripts/picture.sh"
bin="$win_build/bin"
demo="$win_build/demo"
transcript="$demo/transcript.txt"
rm -rf "$demo"
road_settings "$demo" "$bin" Demo Tarn WelcomeKit
cd "$bin" || exit 1

# The plug-in's folder and Known Packages value, as the installer makes them by default.
user=$(id -un)
installed="C:\\users\\$user\\AppData\\Local\\Programs\\WTarn"
installed_dir="$WINEPREFIX/drive_c/users/$user/AppData/Local/Programs/WTarn"
known_value() {
  "$root/scripts/wine-run" reg query 'HKCU\Software\Embarcadero\BDS\22.0\Known Packages' 2>/dev/null |
    grep -ci 'WTarn\\WTarnD11.dll'
}

# Installs the plug-in silently on the current Wine; false when the installer did not.
install_plugin() {
  step "installing the plug-in on Wine $WTARN_WINE: WTarnD11-Setup.exe /S"
  timeout 120 "$root/scripts/wine-run" WTarnD11-Setup.exe /S >/dev/null 2>&1
  local code=$?
  [ -f "$installed_dir/WTarnD11.dll" ] ||
    { echo "the installer did not install the plug-in on Wine $WTARN_WINE (exit code $code)"; return 1; }
  echo "installed into $installed; Known Packages values naming it: $(known_value)"
}

# Uninstalls it again and waits (at most 30 s) for the uninstaller, which goes on from a copy.
uninstall_plugin() {
  step "uninstalling the plug-in: $installed\\uninstall.exe /S"
  timeout 60 "$root/scripts/wine-run" "$installed\\uninstall.exe" /S >/dev/null 2>&1
  for _ in $(seq 300); do [ -e "$installed_dir" ] || break; sleep 0.1; done
  local left
  left=$(known_value)
  [ ! -e "$installed_dir" ] && [ "$left" = 0 ] &&
    echo "uninstalled: the folder and the Known Packages value are gone" ||
    { echo "the uninstaller left the folder or $left Known Packages values behind"; return 1; }
}

# The road in the stand-in IDE, with the screenshot of the Welcome Page in $picture. Only Wine
# 10's picture, which shows the companion, replaces the README's; Wine 8's goes to $demo.
road() {
  step "the road in the stand-in IDE on Wine $WTARN_WINE (about 30 s)"
  TARNPLUGIN_SWITCHES="\"/send=$(win "$demo/Projects/Demo.dproj")\" /sendafter=3000" \
    "$root/scripts/wine-run" explorer /desktop=WTarn,1024x700 wtarn_host.exe --open=WTarn --press-button=16 \
    --exit-after=28 --resize=1000x660 --transcript="$(win "$transcript")" --appdata="$(win "$demo/AppData")" \
    >/dev/null 2>&1 &
  local ide=$!
  # The screenshot once the page has been resized and the IDE has opened the companion's
  # project: the companion's window inside the page, the project in the page's status line.
  screenshot_after "$transcript" "$picture" "page resized to" "OpenProject" &&
    echo "screenshot of the Welcome Page: ${picture#"$root"/}"
  if [ "$WTARN_WINE" = 10 ]; then
    companion_shows "$picture" "$transcript" || echo "the companion's window does NOT show inside the page"
  fi
  for _ in $(seq 600); do kill -0 "$ide" 2>/dev/null || break; sleep 0.1; done
  kill "$ide" 2>/dev/null
  wait "$ide" 2>/dev/null
  grep -q "unloaded WTarnD11.dll" "$transcript"
}

picture="$demo/welcome-page.png"
[ "$WTARN_WINE" = 10 ] && picture="$root/docs/welcome-page.png"
install_plugin || exit 1
status=0
road || status=1
uninstall_plugin || status=1
step "transcript (Wine $WTARN_WINE)"
cat "$transcript"
exit $status

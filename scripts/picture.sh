# Sourced: the Welcome Page's road under Wine, and reading the page off a screenshot. The
# stand-in IDE's transcript tells where Panel1 lies on the screen and its colour; the
# companion's caption band has a colour of its own.
companion_band=1E5A8C

# A Linux path as Wine's Z: drive names it.  win /tmp/a  ->  Z:\tmp\a
win() { printf 'Z:%s' "${1//\//\\}"; }

# The user's settings for a road in FOLDER: AppData/morvane/TARN/TARN.INI names the companion
# in BIN and the project folder FOLDER/Projects, which holds an empty project per NAME.
#   road_settings "$work" "$bin" Alpha Beta
road_settings() {
  local folder=$1 bin=$2 p
  shift 2
  mkdir -p "$folder/AppData/morvane/TARN" "$folder/Projects"
  for p in "$@"; do printf '<Project/>\r\n' >"$folder/Projects/$p.dproj"; done
  printf '[PlugInSettings]\r\nProgramlocation=%s\r\n[Projects]\r\nFolder=%s\r\n' \
    "$(win "$bin/TarnPlugIn.exe")" "$(win "$folder/Projects")" >"$folder/AppData/morvane/TARN/TARN.INI"
}

# Waits up to 30 s until the transcript holds every TEXT, then a moment more for the paint that
# follows, and saves a screenshot of the screen in SHOT; false (saying which) when a text is
# missing.  screenshot_after road.txt shot.png "page resized to"
screenshot_after() {
  local transcript=$1 shot=$2 text
  shift 2
  for text in "$@"; do
    for _ in $(seq 300); do grep -q -- "$text" "$transcript" 2>/dev/null && break; sleep 0.1; done
    grep -q -- "$text" "$transcript" 2>/dev/null || { echo "no \"$text\" in the transcript"; return 1; }
  done
  sleep 1.5
  import -window root -crop 1024x700+0+0 +repage "$shot" 2>/dev/null
}

# The last screen rectangle of Panel1 in a transcript (in its lines that hold the text given
# second, if any), as "WxH+X+Y"; "" when there is none.
#   panel_geometry road.txt   ->  778x558+212+68
panel_geometry() {
  grep -F -- "${2:-Panel1}" "$1" | sed -n 's/.*Panel1 on the screen (\([0-9-]*\),\([0-9-]*\))-(\([0-9-]*\),\([0-9-]*\)).*/\1 \2 \3 \4/p' |
    tail -1 | awk '{ if (NF == 4) printf "%dx%d+%d+%d\n", $3 - $1, $4 - $2, $1, $2 }'
}

# Panel1's own colour in a transcript (logged as 0x00BBGGRR), as RRGGBB.
panel_colour() {
  sed -n 's/.*Panel1 colour 0x00\(..\)\(..\)\(..\).*/\3\2\1/p' "$1" | head -1
}

# The per cent of a rectangle's pixels in each of two colours: "PANEL BAND".
#   colour_shares shot.png 778x558+212+68 2B2B2B 1E5A8C  ->  0.0 8.1
colour_shares() {
  convert "$1" -crop "$2" +repage -format %c histogram:info:- 2>/dev/null |
    awk -v a="#$3" -v b="#$4" -v total="$(echo "$2" | awk -F'[x+]' '{ print $1 * $2 }')" '
      { n = $1 + 0; if (index(toupper($0), a " ")) x += n; if (index(toupper($0), b " ")) y += n }
      END { if (total > 0) printf "%.1f %.1f\n", 100 * x / total, 100 * y / total }'
}

# True when the companion's drawing fills Panel1 in the screenshot: its caption band shows (at
# least 3 % of the panel) and hardly any of the panel's own colour does (under 5 %). Prints the
# figures. The third argument picks the transcript lines that place Panel1.
companion_shows() {
  local shot=$1 transcript=$2 geometry colour shares
  geometry=$(panel_geometry "$transcript" "${3:-}")
  colour=$(panel_colour "$transcript")
  [ -n "$geometry" ] && [ -n "$colour" ] || { echo "no Panel1 in the transcript"; return 1; }
  shares=$(colour_shares "$shot" "$geometry" "$colour" "$companion_band")
  set -- $shares
  echo "Panel1 $geometry: ${1:-?} % panel colour #$colour, ${2:-?} % companion band #$companion_band"
  awk -v p="${1:-100}" -v b="${2:-0}" 'BEGIN { exit !(p < 5 && b >= 3) }'
}

#!/usr/bin/env bash
# Screenshots of Quorl for the README and the store listing: starts quorl under Xvfb on a
# folder of sample songs it makes and writes main-window.png, preferences.png, browser-view.png
# (a search answered by the local stand-in for the web service of quorl-bench) and
# save-report.png into OUTDIR. Builds the release configuration first; QUORL_BIN_DIR may name
# another build folder holding app/quorl, cli/quorl-cli and bench/quorl-bench.
# Usage: scripts/screenshot.sh OUTDIR
set -euo pipefail
cd "$(dirname "$0")/.."
out="$(mkdir -p "${1:?usage: screenshot.sh OUTDIR}" && cd "$1" && pwd)"

if [ -z "${QUORL_SCREENSHOT_DISPLAY:-}" ]; then
  if [ -z "${QUORL_BIN_DIR:-}" ]; then
    scripts/install-deps.sh
    cmake --preset release >/dev/null
    cmake --build --preset release --target quorl quorl-cli quorl-bench
    export QUORL_BIN_DIR="$PWD/build/release"
  fi
  QUORL_SCREENSHOT_DISPLAY=1 exec xvfb-run -a -s "-screen 0 1400x900x24" "$0" "$out"
fi

bin="$QUORL_BIN_DIR"
work="$(mktemp -d)"
trap 'kill "${pid:-}" "${service:-}" 2>/dev/null || true; rm -rf "$work"' EXIT
scripts/sample-songs.sh "$bin/cli/quorl-cli" "$work/Music"

# The web service of the online lookup, played on this machine: ten releases with three covers.
"$bin/bench/quorl-bench" serve-discogs >"$work/service.url" 2>/dev/null &
service=$!
for _ in $(seq 50); do [ -s "$work/service.url" ] && break; sleep 0.1; done
service_url="$(head -n 1 "$work/service.url")"

# Settings of its own: the review prompt counts as answered, all columns worth showing shown.
export XDG_CONFIG_HOME="$work/config"
mkdir -p "$XDG_CONFIG_HOME/quorl"
version="$("$bin/cli/quorl-cli" --version | awk '{print $2}')"
cat > "$XDG_CONFIG_HOME/quorl/quorl.ini" <<INI
[General]
LAST_CAMPAIGN_VERSION=$version
COLUMN_HIDE_ALBUM=false
COLUMN_HIDE_YEAR=false
DISCOGS_API_URL=$service_url
INI
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0}"

"$bin/app/quorl" "$work/Music" >"$work/quorl.log" 2>&1 &
pid=$!
window="$(xdotool search --sync --onlyvisible --name '^Quorl' | head -n 1)"
sleep 3

# The whole window, drawn from the screen so that sheets over it show too.
shoot() {
  eval "$(xdotool getwindowgeometry --shell "$window")"
  import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$out/$1"
  echo "$out/$1"
}

# The first album selected: its shared values in the fields, its cover beside them.
xdotool windowfocus --sync "$window"
xdotool key --delay 80 ctrl+Home shift+Down shift+Down shift+Down shift+Down
sleep 1
shoot main-window.png

xdotool key ctrl+comma
sleep 1.5
shoot preferences.png
xdotool key Escape
sleep 0.5

# The browser searching for the selected album: the covers found, the tracks of the first one
# and the songs they would go to.
xdotool windowfocus --sync "$window"
xdotool key ctrl+2
sleep 0.5
xdotool key Return
sleep 3
shoot browser-view.png
# Without a window manager the window loses the keyboard when the progress sheet goes.
xdotool windowfocus --sync "$window"
xdotool key ctrl+1
sleep 0.5

# A file replaced behind the editor's back is not written over: the save reports it.
cp "$work/Music/02 Über den Wolken.mp3" "$work/replacement.mp3"
rm "$work/Music/02 Über den Wolken.mp3"
cp "$work/replacement.mp3" "$work/Music/02 Über den Wolken.mp3"
xdotool windowfocus --sync "$window"
xdotool key ctrl+shift+s
sleep 3
shoot save-report.png

# naming-panel.png: the naming panel beside the window, restored at start, over the first
# album, with a custom pattern made in its editor: "Track", Tab (the typed token string becomes
# a chip), " - ", the Title button (seventh after the field), Return for Done. A file outside the
# list already has one of the names the pattern gives, so the preview flags that row.
xdotool key Return
sleep 0.5
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
printf 'NAMING_PANEL_VISIBLE=true\nRESTORE_PANELS_ON_STARTUP=true\n' >> "$XDG_CONFIG_HOME/quorl/quorl.ini"
"$bin/app/quorl" "$work/Music" >>"$work/quorl.log" 2>&1 &
pid=$!
window="$(xdotool search --sync --onlyvisible --name '^Quorl' | head -n 1)"
naming="$(xdotool search --sync --onlyvisible --name '^Naming$' | head -n 1)"
sleep 3
cp "$work/replacement.mp3" "$work/Music/2 - Über den Wolken.mp3"
xdotool windowfocus --sync "$window"
xdotool key --delay 80 ctrl+Home shift+Down shift+Down shift+Down shift+Down
sleep 1
xdotool windowraise "$naming"
xdotool mousemove --window "$naming" 38 136 click 1
sleep 0.5
xdotool mousemove --window "$naming" 289 166 click 1
sleep 1.5
xdotool type --delay 60 "Track"
xdotool key Tab shift+Tab
xdotool type --delay 60 " - "
xdotool key Tab Tab Tab Tab Tab Tab Tab space
sleep 0.3
xdotool key Return
sleep 1
window="$naming" shoot naming-panel.png

# rename-preview.png: the panel's Rename button (bottom right) shows the preview of the
# selection over the panel.
eval "$(xdotool getwindowgeometry --shell "$naming")"
xdotool mousemove --window "$naming" $((WIDTH - 50)) $((HEIGHT - 30)) click 1
sleep 2
preview="$(xdotool search --sync --onlyvisible --name '^Rename Preview$' | head -n 1)"
window="$preview" shoot rename-preview.png
xdotool key Escape

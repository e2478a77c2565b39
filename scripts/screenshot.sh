#!/usr/bin/env bash
# screenshot.sh OUT.png [PROJECT] [SECONDS] [ACTION...]: opens PROJECT
# (default: the plain sample) in Usagram.exe under a private X server, waits
# until the welcome window has come and gone (at most SECONDS each, default
# 20), runs each ACTION as an xdotool command, a second apart, starting on
# the main window ("key alt+h", "key a", "mousemove 760 380 click 3"...),
# and saves what a person sees.
#
# USAGRAM_EXE runs another program on the project (ExpertHost.exe, with the
# expert library in its Experts key) and USAGRAM_ARGS gives the words that
# go before the project ("--click ViewUsagramItem").
#
# The picture is composed from the visible top-level windows, each captured
# by its id and placed at its position, bottom to top: a capture of the
# whole screen shows Wine's modal boxes over a disabled window as black
# rectangles, although they are painted.
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
out=$1
project=$(realpath "${2:-$root/samples/Plain/Plain.dpr}")
seconds=${3:-20}
shift $(($# < 3 ? $# : 3))
exe=${USAGRAM_EXE:-$root/build/win64/programs/Usagram.exe}
[ -x "$exe" ] || { echo "screenshot: $exe is not built" >&2; exit 2; }
source "$root/scripts/wine-env.sh"
winproject=$(usagram_winpath "$project")
source "$root/scripts/xvfb.sh"
usagram_wine_prefix_ready || exit 1
usagram_start_xvfb || exit 1
# shellcheck disable=SC2086  # USAGRAM_ARGS is several words on purpose
/usr/lib/wine/wine64 "$exe" ${USAGRAM_ARGS:-} "$winproject" >/dev/null 2>&1 </dev/null &
app=$!
work=$(mktemp -d)
trap 'kill $app 2>/dev/null; /usr/lib/wine/wineserver -k 2>/dev/null; kill $usagram_xvfb_pid 2>/dev/null; rm -rf "$work"' EXIT

viewable() { xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable'; }
# Top-level windows, top-most first, with their geometry: "id x y".
windows() {
  xwininfo -root -children | awk '/^ +0x/ { id = $1; g = $NF; sub(/^\+/, "", g); split(g, p, "+"); print id, p[1], p[2] }'
}

# The welcome window comes with the main window and leaves after its five
# seconds; by then the analysis of a small project has run. (The caption
# names the project from the start: it cannot tell.)
welcome_state() {  # prints "viewable" while the welcome window shows
  local id
  id=$(xdotool search --name '^Welcome$' 2>/dev/null | head -n1)
  [ -n "$id" ] && viewable "$id" && echo viewable
}
for _ in $(seq $((seconds * 4))); do
  [ -n "$(welcome_state)" ] && break
  sleep 0.25
done
for _ in $(seq $((seconds * 4))); do
  [ -z "$(welcome_state)" ] && break
  sleep 0.25
done
sleep 1
# The keys go to the main window first, then wherever its commands have put
# the focus (a modal window, a menu).
main=$(xdotool search --name "^Usagram - " 2>/dev/null | head -n1)
[ -n "$main" ] && [ $# -gt 0 ] && xdotool windowfocus --sync "$main" 2>/dev/null
for action in "$@"; do
  # shellcheck disable=SC2086  # an action is several words on purpose
  xdotool $action
  sleep 1
done
sleep 1.5   # let the composition, the windows and the banner paint

read -r width height < <(xwininfo -root | awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w, h }')
convert -size "${width}x${height}" xc:black "$work/screen.png"
shown=0
while read -r id x y; do
  viewable "$id" || continue
  xwd -id "$id" -silent 2>/dev/null | convert xwd:- "$work/window.png" 2>/dev/null || continue
  composite -geometry "+$x+$y" "$work/window.png" "$work/screen.png" "$work/screen.png"
  shown=$((shown + 1))
done < <(windows | tac)
[ "$shown" -gt 0 ] || { echo "screenshot: no window of the program is shown" >&2; exit 1; }
# Only the windows: the empty screen around them is cut away.
convert "$work/screen.png" -trim +repage "$out"
echo "screenshot: $out"

#!/usr/bin/env bash
# screenshot.sh OUT.png [PROJECT] [SECONDS]: opens PROJECT (default: the
# plain sample) in Usagram.exe under a private X server, waits until the
# status bar has settled (or SECONDS, default 20), and saves a screenshot.
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
out=$1
project=$(realpath "${2:-$root/samples/Plain/Plain.dpr}")
seconds=${3:-20}
exe=${USAGRAM_EXE:-$root/build/win64/programs/Usagram.exe}
[ -x "$exe" ] || { echo "screenshot: $exe is not built" >&2; exit 2; }
source "$root/scripts/wine-env.sh"
winproject=$(usagram_winpath "$project")
source "$root/scripts/xvfb.sh"
usagram_wine_prefix_ready || exit 1
usagram_start_xvfb || exit 1
/usr/lib/wine/wine64 "$exe" "$winproject" >/dev/null 2>&1 </dev/null &
app=$!
trap 'kill $app 2>/dev/null; /usr/lib/wine/wineserver -k 2>/dev/null; kill $usagram_xvfb_pid 2>/dev/null' EXIT
# The caption shows the project once its analysis has run.
name=$(basename "$project")
for _ in $(seq $((seconds * 4))); do
  xwininfo -root -tree 2>/dev/null | grep -q "Usagram - .*$name" && break
  sleep 0.25
done
sleep 1.5   # let the composition and the first banner steps paint
xwd -root -silent | convert xwd:- "$out"
echo "screenshot: $out"

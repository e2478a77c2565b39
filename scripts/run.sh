#!/usr/bin/env bash
# The main job: builds the 64-bit Windows programs and runs Usagram on a
# sample project under Wine. With a display (DISPLAY set) it opens the main
# window on the project; without one, the console program writes the
# diagram as an enhanced metafile and a PNG under build/out/.
#   scripts/run.sh [PROJECT.dpr|UNIT.pas]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
build=$root/build/win64
cmake -G Ninja -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-x86_64-w64-mingw32.cmake" >/dev/null
ninja -C "$build" Usagram UsagramCmd >/dev/null
project=$(realpath "${1:-$root/samples/Plain/Plain.dpr}")
source "$root/scripts/wine-env.sh"
winproject=$(usagram_winpath "$project")
usagram_wine_prefix_ready
if [ -n "${DISPLAY:-}" ]; then
  echo "Opening $project in Usagram.exe"
  exec /usr/lib/wine/wine64 "$build/programs/Usagram.exe" "$winproject"
fi
out=$root/build/out
mkdir -p "$out"
name=$(basename "${project%.*}")
winout=$(usagram_winpath "$out")
"$root/scripts/wine-run" "$build/programs/UsagramCmd.exe" --model "$winproject" >"$out/$name.model.txt"
"$root/scripts/wine-run" "$build/programs/UsagramCmd.exe" --layout \
  --emf "$winout\\$name.emf" --png "$winout\\$name.png" "$winproject" >"$out/$name.layout.txt"
echo "Model of $project: $out/$name.model.txt"
echo "Layout: $out/$name.layout.txt"
echo "Diagram: $out/$name.emf and $out/$name.png"

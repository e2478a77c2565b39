#!/usr/bin/env bash
# The main job: builds the 64-bit Windows programs and runs Usagram on a
# sample project under Wine.
#   scripts/run.sh [PROJECT.dpr|UNIT.pas]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
build=$root/build/win64
cmake -G Ninja -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-x86_64-w64-mingw32.cmake" >/dev/null
ninja -C "$build" UsagramCmd >/dev/null
project=${1:-$root/samples/Plain/Plain.dpr}
out=$root/build/out
mkdir -p "$out"
cmd=$build/programs/UsagramCmd.exe
echo "== uses of $project"
"$root/scripts/wine-run" "$cmd" --uses "$project"

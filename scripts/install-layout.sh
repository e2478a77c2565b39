#!/usr/bin/env bash
# install-layout.sh [DIR] [BUILD]: lays out an install directory as it ships,
# so that a person can try the installer under Wine: Install.exe beside
# Usagram.exe, Usagram_Expert.dll when it has been built, and the two help
# files, Usagram.chm and Quorvel.chm, as the build compiled them.
#   scripts/install-layout.sh                    -> build/install from build/win64
#   cd build/install && wine64 Install.exe
# --placeholder-expert puts an empty Usagram_Expert.dll there while the real
# one is not built, only to try the expert boxes (never to be loaded).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
placeholder=0
if [ "${1:-}" = --placeholder-expert ]; then placeholder=1; shift; fi
dir=${1:-$root/build/install}
build=${2:-$root/build/win64}

need() {  # the built file, or a message saying which target builds it
  local file=$1 target=$2
  [ -f "$file" ] || { echo "install-layout: $file is missing (ninja -C $build $target)" >&2; exit 2; }
}
need "$build/installer/Install.exe" Install
need "$build/programs/Usagram.exe" Usagram
need "$build/programs/Usagram.chm" usagram_help
need "$build/programs/Quorvel.chm" usagram_help

mkdir -p "$dir"
cp "$build/installer/Install.exe" "$build/programs/Usagram.exe" "$build/programs/Usagram.chm" \
  "$build/programs/Quorvel.chm" "$dir/"
expert=$(find "$build" -maxdepth 3 -iname 'Usagram_Expert.dll' -print -quit)
if [ -n "$expert" ]; then
  cp "$expert" "$dir/"
elif [ $placeholder = 1 ]; then
  : >"$dir/Usagram_Expert.dll"
  echo "install-layout: Usagram_Expert.dll is an empty placeholder" >&2
else
  echo "install-layout: no Usagram_Expert.dll built yet; the expert boxes stay hidden" >&2
fi
echo "install-layout: $dir"
ls -l "$dir"

#!/usr/bin/env bash
# Registers the word-processor stand-in in the current Wine prefix (the one
# that scripts/wine-env.sh chooses: USAGRAM_WINEPREFIX, or the project's
# default), so that "Word.Basic" and "Word.Application" reach it.
#   scripts/register-wordproc.sh                    both identifiers
#   scripts/register-wordproc.sh Word.Application   only that one (no Word 95)
#   scripts/register-wordproc.sh --unregister       remove them
# WORDPROC_BUILD names the build directory (default build/win64); the
# server must be built there first (ninja -C build/win64 wordproc).
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
exe=${WORDPROC_BUILD:-$root/build/win64}/standins/wordproc/wordproc.exe
if [ ! -f "$exe" ]; then
  echo "register-wordproc: $exe is not built (ninja -C build/win64 wordproc)" >&2
  exit 1
fi
if [ "${1:-}" = --unregister ]; then
  "$root/scripts/wine-run" "$exe" /UnregServer
else
  "$root/scripts/wine-run" "$exe" /RegServer "$@"
fi

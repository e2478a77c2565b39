# Shared Wine settings of the project's scripts (sourced, not run).
# USAGRAM_WINEPREFIX chooses the prefix; the test command makes a fresh one
# for every run, so tests never see an earlier run's registry.
export WINEPREFIX=${USAGRAM_WINEPREFIX:-${XDG_CACHE_HOME:-$HOME/.cache}/usagram/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
# No desktop menu files in $HOME, no ALSA noise where there is no sound device.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-winemenubuilder.exe=d;winealsa.drv,winepulse.drv=d}
export WINEARCH=win64

usagram_scripts_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

# The Windows name of an absolute Unix path: Wine's drive Z: is the Unix root.
usagram_winpath() {
  local path=$1
  echo "Z:${path//\//\\}"
}

# Creates the prefix once (several test programs may ask at the same moment).
usagram_wine_prefix_ready() {
  [ -f "$WINEPREFIX/.usagram-ready" ] && return 0
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    [ -f "$WINEPREFIX/.usagram-ready" ] && exit 0
    "$usagram_scripts_dir/make-prefix" "$WINEPREFIX" >&2
  ) 9>"$WINEPREFIX.lock"
}

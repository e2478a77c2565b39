# Starts a private X server for Wine's windows (sourced). Sets DISPLAY and
# registers the server's end with the caller's EXIT trap list.
usagram_start_xvfb() {
  local n
  for n in $(seq 90 120); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    usagram_xvfb_pid=$!
    for _ in $(seq 50); do
      [ -e "/tmp/.X11-unix/X$n" ] && { export DISPLAY=":$n"; return 0; }
      kill -0 "$usagram_xvfb_pid" 2>/dev/null || break
      sleep 0.1
    done
  done
  echo "xvfb: could not start an X server" >&2
  return 1
}

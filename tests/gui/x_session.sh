# Sourced by the tests that drive the real `noltace` with real X input: a private Xvfb
# and openbox, cleaned up on exit, and helpers to wait for windows and screen text.
#
#   source x_session.sh; start_x_session "$work"; wait_for_window '^NoltACE v1\.06$'
# Needs: $work set; sets DISPLAY. `pids` collects what cleanup stops.

pids=()
cleanup() {
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[$i]}" 2>/dev/null && wait "${pids[$i]}" 2>/dev/null; done
}
trap cleanup EXIT

skip() {
  echo "SKIP: $*"
  # Where the data must be there (CI), its absence is a failure.
  [ "${NOLTACE_REQUIRE_DATA:-0}" = 1 ] && exit 1
  exit 77
}

require_tools() {
  for tool in "$@"; do
    command -v "$tool" >/dev/null || skip "$tool is not installed (bash scripts/install-deps.sh)"
  done
}

# Xvfb on NOLTACE_XVFB_DISPLAY or a free display, then openbox managing it.
start_x_session() {
  local work=$1
  if [ -n "${NOLTACE_XVFB_DISPLAY:-}" ]; then
    Xvfb "$NOLTACE_XVFB_DISPLAY" -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
    pids+=($!)
    export DISPLAY="$NOLTACE_XVFB_DISPLAY"
  else
    rm -f "$work/display"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
    pids+=($!)
    for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
    export DISPLAY=":$(cat "$work/display")"
  fi
  for _ in $(seq 50); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done
  rm -f "$work/wm-ready"
  openbox --startup "touch '$work/wm-ready'" >"$work/openbox.log" 2>&1 &
  pids+=($!)
  for _ in $(seq 100); do [ -e "$work/wm-ready" ] && break; sleep 0.1; done
  [ -e "$work/wm-ready" ] || { echo "FAIL: openbox did not start"; exit 1; }
}

# Fresh settings and data for the program under test, in $1, and the screen text file
# it writes ($screen).
use_fresh_settings() {
  export QT_QPA_PLATFORM=xcb SDL_AUDIODRIVER=dummy
  rm -rf "$1/config" "$1/data"
  export XDG_CONFIG_HOME="$1/config" XDG_DATA_HOME="$1/data" XDG_RUNTIME_DIR="$1/runtime"
  mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
  screen="$1/screen.txt"
  rm -f "$screen"
  export NOLTACE_SCREEN_TEXT_FILE="$screen"
}

# Prints the id of the visible window whose title matches $1 (waits up to 15 s), and
# gives it the focus; prints nothing when there is none.
wait_for_window() {
  local window=""
  # Polled: a search that waits (--sync) can miss a window that maps while another closes.
  for _ in $(seq 150); do
    window=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1)
    [ -n "$window" ] && break
    sleep 0.1
  done
  [ -n "$window" ] || return 1
  xdotool windowactivate --sync "$window" >/dev/null 2>&1 || xdotool windowfocus --sync "$window" >/dev/null 2>&1
  echo "$window"
}

# Waits (up to 15 s) until file $1 holds the text $2.
wait_for_text() {
  for _ in $(seq 150); do
    grep -qF -- "$2" "$1" 2>/dev/null && return 0
    sleep 0.1
  done
  return 1
}

# Keeps a picture of the screen in $1 when ImageMagick is there (for people, not checks).
keep_screenshot() {
  command -v import >/dev/null && import -window root "$1" 2>/dev/null || true
}

#!/usr/bin/env bash
# Types into the real `noltace` window the way a keyboard does: real X key events
# (XTest, through xdotool), each key pressed and released a few milliseconds apart,
# under a private Xvfb with a window manager, on the US and the German layout. The
# answers are read from the screen text the application writes (NOLTACE_SCREEN_TEXT_FILE).
#
# Usage: xinput_typing_test.sh path/to/noltace [work folder]
# Exits 0 when every line gave its answer, 1 when one did not, 77 (skip) when a tool
# or the test ROM is missing. NOLTACE_XVFB_DISPLAY (e.g. :11) picks the display number;
# otherwise Xvfb chooses a free one.
set -uo pipefail

app="$1"
work="${2:-$(mktemp -d)}"
mkdir -p "$work"

source "$(dirname "$0")/x_session.sh"
require_tools Xvfb openbox xdotool setxkbmap
[ -r "${NOLTACE_TEST_ROM:-}" ] || skip "NOLTACE_TEST_ROM does not name a readable ace.rom"

# A private X server, so that the layout switch touches nobody else's display.
start_x_session "$work"

export NOLTACE_ROM="$NOLTACE_TEST_ROM"
# Fresh settings each run: nothing left by an earlier one.
use_fresh_settings "$work"

wait_for_screen() { wait_for_text "$screen" "$1"; }

failures=0
# Types line $2 and ENTER on layout $1 and looks for answer $3.
type_line() {
  xdotool type --delay 30 -- "$2"
  xdotool key Return
  if wait_for_screen "$3"; then
    echo "$1: \"$2\" gave \"$3\""
  else
    echo "FAIL: $1: \"$2\" did not give \"$3\"; the screen:"
    cat "$screen" 2>/dev/null
    command -v import >/dev/null && import -window root "$work/failed-$1.png" 2>/dev/null
    failures=$((failures + 1))
  fi
}

for layout in us de; do
  setxkbmap "$layout" || { echo "FAIL: setxkbmap $layout"; exit 1; }
  rm -f "$screen"
  "$app" >"$work/noltace-$layout.log" 2>&1 &
  app_pid=$!
  pids+=($app_pid)
  window=$(timeout 15 xdotool search --sync --onlyvisible --name '^NoltACE v1\.06$' | head -n 1)
  if [ -z "$window" ]; then
    echo "FAIL: $layout: no window titled \"NoltACE v1.06\"; windows: $(xdotool search --name . getwindowname %@ 2>/dev/null | tr '\n' '|')"
    kill -0 "$app_pid" 2>/dev/null && echo "noltace is running" || echo "noltace has ended"
    cat "$work/noltace-$layout.log"
    command -v import >/dev/null && import -window root "$work/failed-$layout.png" 2>/dev/null
    exit 1
  fi
  xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus --sync "$window"
  # The ROM has booted once its cursor shows on the last line.
  for _ in $(seq 150); do
    [ -n "$(tail -n 1 "$screen" 2>/dev/null)" ] && break
    sleep 0.1
  done
  [ "$layout" = us ] && type_line "$layout" "123 456 + ." "123 456 + . 579  OK"
  type_line "$layout" ": SQ ( N ) DUP * ; 7 SQ ." " 49  OK"
  command -v import >/dev/null && import -window root "$work/typed-$layout.png" 2>/dev/null
  kill "$app_pid" 2>/dev/null
  wait "$app_pid" 2>/dev/null
done
setxkbmap us
exit $((failures > 0))

#!/usr/bin/env bash
# Types into the real `noltace` window the way a keyboard does: real X key events
# (XTest, through xdotool), each key pressed and released a few milliseconds apart,
# under a private Xvfb with a window manager, on the US and the German layout. The
# answers are read from the screen text the application writes (NOLTACE_SCREEN_TEXT_FILE).
# On the US layout it also opens a menu with the mouse and closes it with Esc, with and
# without a key held, and types on; pastes a line from the clipboard (xclip) with Alt+E,
# P; and types 500 characters as fast as xdotool sends them, finding every line on the
# Ace.
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
require_tools Xvfb openbox xdotool setxkbmap xclip
[ -r "${NOLTACE_TEST_ROM:-}" ] || skip "NOLTACE_TEST_ROM does not name a readable ace.rom"

# A private X server, so that the layout switch touches nobody else's display.
start_x_session "$work"

export NOLTACE_ROM="$NOLTACE_TEST_ROM"
# Fresh settings each run: nothing left by an earlier one.
use_fresh_settings "$work"

wait_for_screen() { wait_for_text "$screen" "$1"; }

failures=0
# Clicks "File" on the menu bar, (lets key $1 go while the menu is open,) closes it with Esc.
open_and_close_file_menu() {
  xdotool mousemove --window "$window" 20 10 click 1
  sleep 0.4
  [ -n "${1:-}" ] && xdotool keyup "$1"
  xdotool key Escape
  sleep 0.3
}
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

# Puts line $1 and a newline on the clipboard, pastes it with Alt+E, P, looks for $2.
paste_line() {
  printf '%s\n' "$1" | xclip -selection clipboard 2>/dev/null
  xdotool key alt+e
  sleep 0.3
  xdotool key p
  if wait_for_screen "$2"; then
    echo "paste: \"$1\" gave \"$2\""
  else
    echo "FAIL: paste: \"$1\" did not give \"$2\"; the screen:"
    cat "$screen" 2>/dev/null
    failures=$((failures + 1))
  fi
  command -v import >/dev/null && import -window root "$work/pasted.png" 2>/dev/null
}

# Types 11 lines of sums (528 characters) in one burst, 10 ms a key, and watches each
# line and its answer go by on the screen (blanks aside, as the screen wraps lines).
type_burst() {
  local text="" expected=() i k line sum
  for i in $(seq 11); do
    line="" sum=0
    for k in $(seq 8); do
      line+="$((i * 100 + k)) "
      sum=$((sum + i * 100 + k))
    done
    line+="+ + + + + + + ."
    text+="$line"$'\n'
    expected+=("$(printf '%s %s OK' "$line" "$sum" | tr -d ' ')")
  done
  xdotool type --delay 10 -- "$text"
  local seen=0 flat
  declare -A found=()
  for _ in $(seq 900); do
    flat=$(tr -d ' \n' <"$screen" 2>/dev/null)
    for i in "${!expected[@]}"; do
      [ -z "${found[$i]:-}" ] && [[ "$flat" == *"${expected[$i]}"* ]] && found[$i]=1 && seen=$((seen + 1))
    done
    [ "$seen" -eq "${#expected[@]}" ] && break
    sleep 0.1
  done
  if [ "$seen" -eq "${#expected[@]}" ]; then
    echo "burst: ${#text} characters typed with a 10 ms delay, all ${#expected[@]} lines arrived"
  else
    echo "FAIL: burst: $seen of ${#expected[@]} lines arrived whole; the screen:"
    cat "$screen" 2>/dev/null
    command -v import >/dev/null && import -window root "$work/failed-burst.png" 2>/dev/null
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
  if [ "$layout" = us ]; then
    type_line "$layout" "123 456 + ." "123 456 + . 579  OK"
    # A menu opened with the mouse and closed with Esc gives the keyboard back.
    open_and_close_file_menu
    type_line "$layout/menu" "1 2 + ." "1 2 + . 3  OK"
    command -v import >/dev/null && import -window root "$work/after-menu.png" 2>/dev/null
    # A key held while the menu opens is let go there: the Ace does not repeat it.
    xdotool type --delay 30 -- "9"
    xdotool keydown 7
    sleep 0.3 # long enough for the ROM to take it, too short for its auto-repeat
    open_and_close_file_menu 7
    sleep 1.5
    type_line "$layout/held" " ." "97 . 97  OK"
    paste_line ": DBL 2 * ; 21 DBL ." "21 DBL . 42  OK"
    type_burst
  fi
  type_line "$layout" ": SQ ( N ) DUP * ; 7 SQ ." " 49  OK"
  command -v import >/dev/null && import -window root "$work/typed-$layout.png" 2>/dev/null
  kill "$app_pid" 2>/dev/null
  wait "$app_pid" 2>/dev/null
done
setxkbmap us
exit $((failures > 0))

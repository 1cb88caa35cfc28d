#!/usr/bin/env bash
# The first start without any ROM, as a user meets it: real X input (xdotool) into the
# real `noltace` under a private Xvfb with openbox. The "02 - ROM missing" box is
# answered, "Choose ROM File..." opens the file dialog, the test ROM's path is typed into
# it, and the emulator must start and answer at the FORTH prompt. The ROM must then be
# in the user's data folder, where the next start finds it without asking.
#
# Usage: choose_rom_test.sh path/to/noltace [work folder]
# Exits 0 on success, 1 on failure, 77 (skip) when a tool or the test ROM is missing.
set -uo pipefail

app="$1"
work="${2:-$(mktemp -d)}"
mkdir -p "$work"
source "$(dirname "$0")/x_session.sh"

require_tools Xvfb openbox xdotool
[ -r "${NOLTACE_TEST_ROM:-}" ] || skip "NOLTACE_TEST_ROM does not name a readable ace.rom"
for system in /usr/share/noltace/roms/ace.rom /usr/local/share/noltace/roms/ace.rom; do
  [ -e "$system" ] && skip "$system is there, so no start here is without a ROM"
done

start_x_session "$work"

# A copy of the program in a folder without roms/, and empty settings and data.
rm -rf "$work/bin"
mkdir -p "$work/bin"
cp "$app" "$work/bin/noltace"
unset NOLTACE_ROM
use_fresh_settings "$work"

fail() {
  echo "FAIL: $*"
  echo "windows: $(xdotool search --onlyvisible --name . getwindowname %@ 2>/dev/null | tr '\n' '|')"
  keep_screenshot "$work/failed.png"
  cat "$work/noltace.log" 2>/dev/null
  exit 1
}

"$work/bin/noltace" >"$work/noltace.log" 2>&1 &
pids+=($!)

wait_for_window '^NoltACE Error$' >/dev/null || fail 'no "02 - ROM missing" box'
xdotool key Return
wait_for_window '^NoltACE needs the Jupiter Ace ROM$' >/dev/null || fail "no window listing the ROM's places"
keep_screenshot "$work/rom-missing.png"
# "Choose ROM File..." is the default button.
xdotool key Return
wait_for_window '^Choose the Jupiter Ace ROM$' >/dev/null || fail "no file dialog"
sleep 0.3
xdotool type --delay 10 -- "$NOLTACE_TEST_ROM"
xdotool key Return

wait_for_window '^NoltACE v1\.06$' >/dev/null || fail "the emulator did not start after the ROM was chosen"
for _ in $(seq 150); do
  [ -n "$(tail -n 1 "$screen" 2>/dev/null)" ] && break
  sleep 0.1
done
xdotool type --delay 30 -- "6 7 * ."
xdotool key Return
wait_for_text "$screen" "6 7 * . 42  OK" || fail "FORTH did not answer; the screen: $(cat "$screen" 2>/dev/null)"
keep_screenshot "$work/forth-prompt.png"
cmp -s "$NOLTACE_TEST_ROM" "$XDG_DATA_HOME/noltace/roms/ace.rom" || fail "the ROM was not copied to the data folder"
echo "chosen ROM: copied to the data folder, and FORTH answered"

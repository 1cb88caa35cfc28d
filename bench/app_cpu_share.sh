#!/usr/bin/env bash
# CPU share and resident memory of the desktop application running the Ace at real time
# (sitting at the FORTH prompt, 100% window, software back-end), read from /proc/PID/stat
# over a measured stretch after a settling pause.
#
#   bench/app_cpu_share.sh [sound|silent] [SECONDS]     (defaults: sound, 10)
#
# sound:  SDL's dummy audio driver, so the audio clock paces the emulation.
# silent: an audio driver that does not exist, so there is no sound device and the
#         frame driver paces itself (the "no sound device" message is closed first).
# Needs DISPLAY (an X server such as Xvfb), xdotool, and the ROM through NOLTACE_ROM or
# NOLTACE_TEST_ROM. NOLTACE_APP names the executable (default build/src/app/qt/noltace).
# Prints: cpu=<percent of one core> rss=<MB> seconds=<measured>.
set -euo pipefail

mode=${1:-sound}
seconds=${2:-10}
settle=${SETTLE_SECONDS:-3}
app=${NOLTACE_APP:-build/src/app/qt/noltace}
export NOLTACE_ROM=${NOLTACE_ROM:-${NOLTACE_TEST_ROM:-}}
[ -n "$NOLTACE_ROM" ] || { echo "set NOLTACE_ROM or NOLTACE_TEST_ROM" >&2; exit 2; }
[ -n "${DISPLAY:-}" ] || { echo "set DISPLAY (e.g. an Xvfb display)" >&2; exit 2; }

case "$mode" in
  sound) export SDL_AUDIODRIVER=dummy ;;
  silent) export SDL_AUDIODRIVER=no-such-driver ;;
  *) echo "mode is sound or silent" >&2; exit 2 ;;
esac

# A fresh configuration, so the defaults (100% window, software drawing) apply.
home=$(mktemp -d)
trap 'kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; rm -rf "$home"' EXIT
export XDG_CONFIG_HOME=$home/config XDG_DATA_HOME=$home/data
export QT_QPA_PLATFORM=xcb
"$app" >/dev/null 2>&1 &
pid=$!

if [ "$mode" = silent ]; then
  # The missing sound device is reported in modal boxes (two of them); emulation waits
  # until they are closed.
  closed=0
  for _ in $(seq 100); do
    win=$(xdotool search --pid "$pid" --name "Error" 2>/dev/null | head -1 || true)
    if [ -n "$win" ]; then
      xdotool windowactivate --sync "$win" key Return 2>/dev/null || true
      closed=$((closed + 1))
      sleep 0.3
    elif [ "$closed" -gt 0 ]; then
      break
    else
      sleep 0.1
    fi
  done
fi
sleep "$settle"

ticks() { awk '{print $14 + $15}' "/proc/$pid/stat"; }
hz=$(getconf CLK_TCK)
t0=$(ticks); s0=$(date +%s.%N)
sleep "$seconds"
t1=$(ticks); s1=$(date +%s.%N)
rss_kb=$(awk '/^VmRSS:/ {print $2}' "/proc/$pid/status")
awk -v t="$((t1 - t0))" -v hz="$hz" -v a="$s0" -v b="$s1" -v rss="$rss_kb" \
  'BEGIN { printf "cpu=%.2f%% rss=%.1fMB seconds=%.1f\n", 100 * t / hz / (b - a), rss / 1024, b - a }'

#!/usr/bin/env bash
# CPU share and resident memory of the desktop application running the Ace at real time
# (sitting at the FORTH prompt, 100% window, software back-end), read from /proc/PID/stat
# over a measured stretch after a settling pause.
#
#   bench/app_cpu_share.sh [sound|silent] [SECONDS]     (defaults: sound, 10)
#
# DRAW_MODE (0 software, 1 OpenGL, 2 shaders), DRAW_SIZE (1 to 3) and SHADER (0 to 4)
# choose the presentation; BUSY=1 has FORTH count and print without end, so the picture
# changes every frame and every frame is drawn.
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
if [ -n "${DRAW_MODE:-}${DRAW_SIZE:-}${SHADER:-}" ]; then
  # The application writes its defaults at the first start; then the choice goes in.
  "$app" >/dev/null 2>&1 &
  pid=$!
  ini=$XDG_CONFIG_HOME/noltace/noltace.ini
  for _ in $(seq 50); do [ -s "$ini" ] && break; sleep 0.1; done
  kill "$pid"; wait "$pid" 2>/dev/null || true
  sed -i -e "s/^opt_DrawMode=.*/opt_DrawMode=${DRAW_MODE:-0}/" -e "s/^opt_DrawSize=.*/opt_DrawSize=${DRAW_SIZE:-1}/" \
      -e "s/^opt_shader=.*/opt_shader=${SHADER:-0}/" "$ini"
fi
args=()
if [ "${BUSY:-0}" = 1 ]; then
  printf ': T 0 BEGIN 1+ DUP . 0 UNTIL ;\r\nT\r\n' >"$home/busy.txt"
  args=("$home/busy.txt")
  settle=$((settle + 7)) # typing the line takes about six seconds
fi
"$app" "${args[@]}" >/dev/null 2>&1 &
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

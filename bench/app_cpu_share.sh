#!/usr/bin/env bash
# CPU share and resident memory of the desktop application running the Ace at real time
# (sitting at the FORTH prompt, 100% window, software back-end), over a measured stretch
# after a settling pause.
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
#
# It measures only an emulator that runs: it fails (exit 1, saying why) when frames do
# not run at about 50 a second, when a message box or other window is still open beside
# the main window, or when the machine is paused. The application reports its frames
# through NOLTACE_RUN_STATE_FILE.
#
# Needs DISPLAY (an X server such as Xvfb) with a window manager: the one running there,
# else openbox, started for the run (the message box is closed by a key press, which
# goes where the window manager puts the focus). Needs xdotool and xprop, and the ROM
# through NOLTACE_ROM or NOLTACE_TEST_ROM. NOLTACE_APP names the executable (default
# build/src/app/qt/noltace).
# Prints: cpu=<percent of one core> rss=<MB> seconds=<measured> fps=<frames a second>
#         shown=<pictures handed to the display a second>.
set -euo pipefail

mode=${1:-sound}
seconds=${2:-10}
settle=${SETTLE_SECONDS:-3}
min_fps=40 # real time is 50; a loaded machine may fall a little short
app=${NOLTACE_APP:-build/src/app/qt/noltace}
export NOLTACE_ROM=${NOLTACE_ROM:-${NOLTACE_TEST_ROM:-}}
fail() { echo "app_cpu_share: $*" >&2; exit 1; }
[ -n "$NOLTACE_ROM" ] || { echo "set NOLTACE_ROM or NOLTACE_TEST_ROM" >&2; exit 2; }
[ -n "${DISPLAY:-}" ] || { echo "set DISPLAY (e.g. an Xvfb display)" >&2; exit 2; }
for tool in xdotool xprop; do
  command -v "$tool" >/dev/null || { echo "needs $tool" >&2; exit 2; }
done

case "$mode" in
  sound) export SDL_AUDIODRIVER=dummy ;;
  silent) export SDL_AUDIODRIVER=no-such-driver ;;
  *) echo "mode is sound or silent" >&2; exit 2 ;;
esac

pid=""
wm_pid=""
home=$(mktemp -d)
cleanup() {
  if [ -n "$pid" ]; then kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; fi
  if [ -n "$wm_pid" ]; then kill "$wm_pid" 2>/dev/null || true; wait "$wm_pid" 2>/dev/null || true; fi
  rm -rf "$home"
}
trap cleanup EXIT

# A window manager announces itself on the root window (EWMH).
wm_running() {
  local id
  id=$(xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | awk '/window id/ {print $NF}')
  [ -n "$id" ] && xprop -id "$id" >/dev/null 2>&1
}
if ! wm_running; then
  command -v openbox >/dev/null || fail "no window manager runs on $DISPLAY and openbox is not installed"
  openbox >/dev/null 2>&1 &
  wm_pid=$!
  for _ in $(seq 50); do wm_running && break; sleep 0.1; done
  wm_running || fail "openbox did not start on $DISPLAY"
fi

# A fresh configuration, so the defaults (100% window, software drawing) apply.
export XDG_CONFIG_HOME=$home/config XDG_DATA_HOME=$home/data
export QT_QPA_PLATFORM=xcb
if [ -n "${DRAW_MODE:-}${DRAW_SIZE:-}${SHADER:-}" ]; then
  # The application writes its defaults at the first start; then the choice goes in.
  "$app" >/dev/null 2>&1 &
  pid=$!
  ini=$XDG_CONFIG_HOME/noltace/noltace.ini
  for _ in $(seq 50); do [ -s "$ini" ] && break; sleep 0.1; done
  kill "$pid"; wait "$pid" 2>/dev/null || true
  pid=""
  sed -i -e "s/^opt_DrawMode=.*/opt_DrawMode=${DRAW_MODE:-0}/" -e "s/^opt_DrawSize=.*/opt_DrawSize=${DRAW_SIZE:-1}/" \
      -e "s/^opt_shader=.*/opt_shader=${SHADER:-0}/" "$ini"
fi
args=()
if [ "${BUSY:-0}" = 1 ]; then
  printf ': T 0 BEGIN 1+ DUP . 0 UNTIL ;\r\nT\r\n' >"$home/busy.txt"
  args=("$home/busy.txt")
  settle=$((settle + 7)) # typing the line takes about six seconds
fi
state=$home/run_state
NOLTACE_RUN_STATE_FILE=$state "$app" "${args[@]}" >/dev/null 2>&1 &
pid=$!

# The application's top-level windows on screen, one "id name" a line. Only windows the
# window manager manages (they carry WM_STATE) count: the OpenGL back-ends draw into a
# native child window of the main one, which is no window of its own.
windows() {
  { xdotool search --onlyvisible --pid "$pid" 2>/dev/null || true; } |
    while read -r w; do
      xprop -id "$w" WM_STATE 2>/dev/null | grep -q 'window state' || continue
      echo "$w $(xdotool getwindowname "$w" 2>/dev/null || true)"
    done
}

if [ "$mode" = silent ]; then
  # The missing sound device is reported in a modal box; emulation waits until it is
  # closed. The window manager gives it the focus, so Return closes it.
  closed=0
  for _ in $(seq 150); do
    win=$(windows | awk '/Error/ {print $1; exit}')
    if [ -n "$win" ]; then
      xdotool windowactivate "$win" 2>/dev/null || true
      sleep 0.2
      xdotool key Return 2>/dev/null || true
      closed=$((closed + 1))
      sleep 0.5
    elif [ "$closed" -gt 0 ]; then
      break
    else
      sleep 0.1
    fi
  done
  [ "$closed" -gt 0 ] || fail "the \"no sound device\" message never showed"
fi
sleep "$settle"

# Processor time of all the application's threads, in nanoseconds.
cpu_ns() { cat /proc/"$pid"/task/*/schedstat 2>/dev/null | awk '{sum += $1} END {printf "%.0f\n", sum}'; }
# A field (time, frames, shown, held, modal) of the run-state line.
field() { sed -n "s/.*\<$1=\([0-9.]*\).*/\1/p" "$state" 2>/dev/null; }

# Only the main window may be open: anything else (a message box) holds the machine.
only_main_window() {
  local others
  others=$(windows | grep -v " NoltACE v" || true)
  [ -z "$others" ] || fail "a window besides the main one is open: $(echo "$others" | cut -d' ' -f2- | paste -sd,)"
}

kill -0 "$pid" 2>/dev/null || fail "the application ended early"
only_main_window
[ -s "$state" ] || fail "the main loop never ran"
time0=$(field time); frames0=$(field frames); shown0=$(field shown)
c0=$(cpu_ns); s0=$(date +%s.%N)
sleep "$seconds"
c1=$(cpu_ns); s1=$(date +%s.%N)
sleep 1.1 # the state file is rewritten once a second
time1=$(field time); frames1=$(field frames); shown1=$(field shown)
rss_kb=$(awk '/^VmRSS:/ {print $2}' "/proc/$pid/status")

# Refuse what is not a running emulator.
only_main_window
[ "$(field modal)" = 0 ] || fail "a modal dialog is open"
[ "$(field held)" = 0 ] || fail "the machine is paused"
fps=$(awk -v f="$((frames1 - frames0))" -v a="$time0" -v b="$time1" 'BEGIN { printf "%.1f", (b > a ? f / (b - a) : 0) }')
awk -v f="$fps" -v m="$min_fps" 'BEGIN { exit !(f >= m) }' ||
  fail "the emulator is not running at real time: $fps frames a second (the main loop stood still?)"

awk -v c="$((c1 - c0))" -v a="$s0" -v b="$s1" -v rss="$rss_kb" -v fps="$fps" \
    -v shown="$((shown1 - shown0))" -v ta="$time0" -v tb="$time1" \
  'BEGIN { printf "cpu=%.2f%% rss=%.1fMB seconds=%.1f fps=%s shown=%.1f\n",
           100 * c / 1e9 / (b - a), rss / 1024, b - a, fps, shown / (tb - ta) }'

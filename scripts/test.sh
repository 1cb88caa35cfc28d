#!/usr/bin/env bash
# Installs what is missing, builds NoltACE and runs the whole test suite (unit tests,
# Z80 conformance suites, GUI tests under Xvfb).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

here=$(pwd)
: "${NOLTACE_TEST_ROM:=$here/../shared/roms/ace.rom}"
: "${NOLTACE_TESTDATA:=$here/../shared/testdata}"
export NOLTACE_TEST_ROM NOLTACE_TESTDATA

bash scripts/build.sh -DNOLTACE_TEST_ROM="$NOLTACE_TEST_ROM" -DNOLTACE_TESTDATA="$NOLTACE_TESTDATA"

# GUI tests need a display; start a private Xvfb when there is none.
xvfb_pid=""
if [ -z "${DISPLAY:-}" ] && command -v Xvfb >/dev/null; then
  export DISPLAY=:97
  Xvfb "$DISPLAY" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  trap '[ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true' EXIT
  sleep 1
fi
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-xcb}"
export SDL_AUDIODRIVER="${SDL_AUDIODRIVER:-dummy}"

cd build
ctest --output-on-failure -j"$(nproc)" --timeout 3000

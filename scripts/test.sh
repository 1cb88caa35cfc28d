#!/usr/bin/env bash
# Installs what is missing, builds NoltACE and runs the whole test suite (unit tests,
# Z80 conformance suites, GUI tests under Xvfb, the fuzz targets, the web page in
# headless Chromium), then checks that
# every group of tests was there and ran (tests/check_test_run.cmake).
#
# On a developer's machine tests that need the ROM or the test data skip without them.
# In CI (CI=true) the data is always there, so a skip is a failure: it would hide a
# missing install step.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

here=$(pwd)
: "${NOLTACE_TEST_ROM:=$here/../shared/roms/ace.rom}"
: "${NOLTACE_TESTDATA:=$here/../shared/testdata}"
export NOLTACE_TEST_ROM NOLTACE_TESTDATA
strict=OFF
if [ "${CI:-}" = true ]; then
  export NOLTACE_REQUIRE_DATA=1
  strict=ON
fi

bash scripts/build.sh -DNOLTACE_TEST_ROM="$NOLTACE_TEST_ROM" -DNOLTACE_TESTDATA="$NOLTACE_TESTDATA"

# CI only: the Debian package installs with apt, its programs run, and it is removed.
if [ "${CI:-}" = true ]; then
  bash scripts/check-deb.sh build
fi

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

# The core and its unit tests again under AddressSanitizer and UBSan: loaders and parsers
# must survive bad input without reading or writing out of bounds. (The web page is
# checked once, by the release suite, and so are the real tapes' slow round trip.)
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DNOLTACE_SANITIZE=address,undefined \
  -DNOLTACE_BUILD_APP=OFF -DNOLTACE_BUILD_BENCHMARKS=OFF \
  -DNOLTACE_TEST_ROM="$NOLTACE_TEST_ROM" -DNOLTACE_TESTDATA="$NOLTACE_TESTDATA" >/dev/null
cmake --build build-asan -j"$(nproc)"
(cd build-asan && LSAN_OPTIONS="suppressions=$here/tests/lsan.supp" \
  ctest --output-on-failure -j"$(nproc)" --timeout 3000 -E 'z80_zex|web_|RealTapesRebuildByteForByte|unit_tests_shuffled')

# Each loader's fuzz target replays its corpus, then fuzzes briefly (it fails when a target
# did not run); longer fuzzing is scripts/fuzz-long.sh, outside CI.
bash scripts/fuzz.sh

# The web page, which the release suite's web group checks in headless Chromium.
bash scripts/build-web.sh

# The whole suite of the release build: unit, conformance and GUI tests. Last, so its
# summary closes the output; then the check that no group is missing.
cd build
status=0
rm -f test-results.xml
ctest --output-on-failure -j"$(nproc)" --timeout 3000 --output-junit test-results.xml || status=$?
cmake -DBUILD_DIR=. -DJUNIT=test-results.xml -DSTRICT=$strict -P "$here/tests/check_test_run.cmake" || status=1
# One closing line for the whole release suite, after the completeness check.
passed=$(grep -c 'status="run"' test-results.xml || true)
failed=$(grep -c 'status="fail"' test-results.xml || true)
skipped=$(grep -c 'status="notrun"' test-results.xml || true)
echo "tests: $passed passed, $failed failed, $skipped skipped"
exit $status

#!/usr/bin/env bash
# Builds the Debian package, installs it on this machine with apt, runs the installed
# headless runner (its version, then a boot of the test ROM), and removes the package
# again whatever happened. For CI, which runs as root on a machine of its own.
#
#   scripts/check-deb.sh BUILD_DIR      (NOLTACE_TEST_ROM names the ROM)
set -euo pipefail
build=$(realpath "${1:-build}")
rom=${NOLTACE_TEST_ROM:?NOLTACE_TEST_ROM must name the test ROM}

if dpkg-query -W -f='${Status}' noltace 2>/dev/null | grep -q "install ok installed"; then
  echo "check-deb: a noltace package is installed already; not touching it" >&2
  exit 1
fi

rm -f "$build"/noltace_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(echo "$build"/noltace_*.deb)
dpkg-deb -f "$deb" Depends | grep -q 'libqt6widgets6' || { echo "check-deb: Depends lacks Qt 6" >&2; exit 1; }
dpkg-deb -f "$deb" Depends | grep -q 'libsdl2' || { echo "check-deb: Depends lacks SDL2" >&2; exit 1; }

remove() { DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq noltace >/dev/null 2>&1 || dpkg --remove noltace >/dev/null 2>&1 || true; }
trap remove EXIT
trap "exit 1" INT TERM HUP
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "$deb" >/dev/null

/usr/bin/noltace-headless --version | grep -Eq '^noltace-headless [0-9]'
screen=$(/usr/bin/noltace-headless --rom "$rom" --type '6 7 * .\n' --until 42 --screen)
grep -q '42  *OK' <<<"$screen" || { echo "check-deb: the installed runner did not boot:" >&2; echo "$screen" >&2; exit 1; }
env -u DISPLAY /usr/bin/noltace --version | grep -Eq '^noltace [0-9]'
[ -f /usr/share/applications/org.noltace.NoltACE.desktop ]
echo "check-deb: $(basename "$deb") installed, ran and was removed"

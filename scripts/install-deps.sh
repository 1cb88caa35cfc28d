#!/usr/bin/env bash
# Installs the Debian packages NoltACE needs to build, run and test, skipping any that
# are already there. Needs root (or sudo) only when something is missing.
#
# The list follows the build: each find_package / pkg_check_modules of the CMake files
# (cmake/RequirePackage.cmake names the same packages when one is missing), then what
# the tests run. `dpkg -S <config file>` tells which package carries a CMake config.
set -euo pipefail

packages=(
  # Compiler and build tools
  build-essential cmake pkg-config
  # Desktop application: Qt6Widgets, Qt6Test (qt6-base-dev),
  # Qt6OpenGL (libqt6opengl6-dev), OpenGL headers, SDL2 (sound and joystick)
  qt6-base-dev libqt6opengl6-dev libgl-dev libsdl2-dev
  # Screenshots (PNG) and the Z80 conformance runner (ZLIB, nlohmann_json)
  libpng-dev zlib1g-dev nlohmann-json3-dev
  # Desktop files: manual pages from --help, the icon's PNG from its SVG, and the
  # checks of the installed layout and the Debian package (dpkg-dev: dpkg-shlibdeps)
  help2man librsvg2-bin desktop-file-utils appstream shared-mime-info man-db dpkg-dev
  # Unit tests and benchmarks (GTest, benchmark; libz80ex-dev, a second Z80 core to compare with)
  libgtest-dev libgmock-dev libbenchmark-dev libz80ex-dev
  # Fuzz targets: clang with libFuzzer's runtime
  clang libclang-rt-dev
  # GUI tests: a private X server, a window manager, real key events, keyboard layouts
  # and the clipboard
  xvfb xauth openbox xdotool x11-xkb-utils xclip
  # The web page (scripts/build-web.sh), and its check in headless Chromium (tests/web)
  emscripten nodejs chromium
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"

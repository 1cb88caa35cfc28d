#!/usr/bin/env bash
# Builds the web page into build-web/site/ (index.html, noltace.js, noltace.wasm and the
# page's scripts) with Debian's emscripten. Nothing is fetched: the emscripten ports are
# not used, and emscripten's cache lives in build-web/ so no system folder is written.
# Serve the folder with `python3 -m http.server` (in build-web/site) and open the page.
set -euo pipefail
cd "$(dirname "$0")/.."
here=$(pwd)
export EM_CACHE="$here/build-web/emcache"
export EM_FROZEN_CACHE=
mkdir -p "$EM_CACHE"
# emscripten's JavaScript optimiser needs Debian's node-acorn, which a Node.js from
# another source does not look for by itself.
export NODE_PATH="/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}"
emcmake cmake -S . -B build-web -DCMAKE_BUILD_TYPE=Release \
  -DNOLTACE_BUILD_APP=OFF -DNOLTACE_BUILD_BENCHMARKS=OFF \
  -DNOLTACE_BUILD_HEADLESS=OFF -DNOLTACE_BUILD_TESTS=OFF >/dev/null
cmake --build build-web -j"$(nproc)" --target noltace-web
ls -l build-web/site

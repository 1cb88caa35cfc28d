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
# Debian ships emscripten's C and C++ libraries already built, in a cache only root may
# write to: link to them from ours, so that only what is missing gets built here.
system_cache=/usr/share/emscripten/cache
if [ ! -e "$EM_CACHE/sysroot_install.stamp" ] && [ -e "$system_cache/sysroot_install.stamp" ]; then
  mkdir -p "$EM_CACHE/sysroot/lib/wasm32-emscripten"
  cp -a "$system_cache/sysroot_install.stamp" "$EM_CACHE/"
  cp -a "$system_cache/sysroot/include" "$system_cache/sysroot/bin" "$EM_CACHE/sysroot/" 2>/dev/null || true
  for f in "$system_cache"/sysroot/lib/wasm32-emscripten/*; do
    [ -f "$f" ] && ln -sf "$f" "$EM_CACHE/sysroot/lib/wasm32-emscripten/"
  done
fi
mkdir -p "$EM_CACHE"
# emscripten's JavaScript optimiser needs Debian's node-acorn, which a Node.js from
# another source does not look for by itself.
export NODE_PATH="/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}"
emcmake cmake -S . -B build-web -DCMAKE_BUILD_TYPE=Release \
  -DNOLTACE_BUILD_APP=OFF -DNOLTACE_BUILD_BENCHMARKS=OFF \
  -DNOLTACE_BUILD_HEADLESS=OFF -DNOLTACE_BUILD_TESTS=OFF >/dev/null
# The page, and the checks that run as wasm32 programs beside it (ctest's web group).
cmake --build build-web -j"$(nproc)" --target noltace-web settings-integers-wasm32
ls -l build-web/site

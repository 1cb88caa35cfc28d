#!/usr/bin/env bash
# Installs what is missing, builds NoltACE and starts it. Arguments go to the emulator.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
if [ -x build/src/app/qt/noltace ]; then
  exec build/src/app/qt/noltace "$@"
fi
# Until the desktop window lands, boot the ROM headless and show the screen.
exec build/src/app/headless/noltace-headless "$@"

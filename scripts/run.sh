#!/usr/bin/env bash
# Installs what is missing, builds NoltACE and starts it. Arguments go to the emulator.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
app=build/src/app/qt/noltace
if [ ! -x "$app" ]; then
  echo "run.sh: $app was not built (was the build configured with -DNOLTACE_BUILD_APP=OFF?)" >&2
  exit 1
fi
exec "$app" "$@"

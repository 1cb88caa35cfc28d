#!/usr/bin/env bash
# Longer fuzzing, by hand or overnight, apart from CI: every target (or the ones named,
# "tap wav") replays its corpus and then fuzzes for FUZZ_SECONDS each (default 600).
# What the runs find worth keeping stays in build-fuzz/corpus/, which CI's short runs
# (scripts/fuzz.sh) replay first.
set -euo pipefail
export FUZZ_SECONDS="${FUZZ_SECONDS:-600}"
exec bash "$(dirname "$0")/fuzz.sh" "$@"

#!/usr/bin/env bash
# CI's fuzzing (scripts/test.sh runs it): builds the libFuzzer targets of the file loaders
# with clang into build-fuzz/, then for each target first replays its whole corpus (what
# earlier runs kept under build-fuzz/corpus/, and the real Ace files of the test data) and
# then fuzzes for a short time (FUZZ_SECONDS, default 10). Longer fuzzing is
# scripts/fuzz-long.sh. Names given as arguments ("tap wav") run only those targets.
# Exits non-zero when a target finds a crash (the reproducer lands in build-fuzz/) or
# ran no input at all.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${FUZZ_SECONDS:-10}"
targets=(tap tzx wav snapshot spool binary config breakpoints forth state)
[ $# -gt 0 ] && targets=("$@")

cmake -S . -B build-fuzz -DNOLTACE_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DNOLTACE_BUILD_APP=OFF -DNOLTACE_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build build-fuzz -j"$(nproc)" --target "${targets[@]/#/fuzz_}"

export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
# Real Ace files seed the search when the test data is there (read, never written).
data="${NOLTACE_TESTDATA:-$(pwd)/../shared/testdata}"
declare -A seeds=([tap]=ace/tap [tzx]=ace/tzx [wav]=ace/wav [snapshot]=ace/snapshot [spool]=ace/forth [binary]=ace/tap [config]=none [breakpoints]=none [forth]=ace/snapshot [state]=none)
options=(-max_len=70000 -rss_limit_mb=2048)

# Runs one libFuzzer pass of target $1 into log $2 with the further options given; false,
# after showing the log's end, when it found a problem or ran nothing.
run_pass() {
  local t=$1 log=$2
  shift 2
  if ! (cd build-fuzz && ./fuzz/fuzz_"$t" "${options[@]}" -artifact_prefix="fuzz_$t-" "$@") >"$log" 2>&1; then
    tail -n 40 "$log" >&2
    echo "fuzz_$t found a problem (full log: $log)" >&2
    return 1
  fi
  # A pass that ran no input at all tested nothing.
  if ! grep -q 'INITED' "$log"; then
    tail -n 20 "$log" >&2
    echo "fuzz_$t did not run (full log: $log)" >&2
    return 1
  fi
}

status=0
for t in "${targets[@]}"; do
  corpus="corpus/$t"
  mkdir -p "build-fuzz/$corpus"
  inputs=("$corpus")
  [ -d "$data/${seeds[$t]}" ] && inputs+=("$data/${seeds[$t]}")
  # Every input kept so far, once: what an earlier run found must not come back.
  run_pass "$t" "build-fuzz/fuzz_${t}_replay.log" -runs=0 "${inputs[@]}" || { status=1; continue; }
  run_pass "$t" "build-fuzz/fuzz_$t.log" -max_total_time="$seconds" "${inputs[@]}" || { status=1; continue; }
  replayed=$(grep -o 'INITED.*corp: [0-9]*' "build-fuzz/fuzz_${t}_replay.log" | grep -o '[0-9]*$' | tail -n 1 || true)
  runs=$(grep -o 'Done [0-9]* runs' "build-fuzz/fuzz_$t.log" | tail -n 1 | grep -o '[0-9]*' || true)
  echo "fuzz_$t: corpus of ${replayed:-?} replayed, then ${seconds}s clean, Done ${runs:-0} runs"
done
exit $status

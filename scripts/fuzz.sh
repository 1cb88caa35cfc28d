#!/usr/bin/env bash
# Builds the libFuzzer targets of the file loaders with clang into build-fuzz/ and runs
# each for a bounded time (default 60 s; FUZZ_SECONDS overrides). Each target starts
# from its corpus folder under build-fuzz/corpus/, which keeps what earlier runs found.
# Exits non-zero when a target finds a crash; the reproducer lands in build-fuzz/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${FUZZ_SECONDS:-60}"
targets=(tap tzx wav snapshot spool binary config breakpoints forth state)

cmake -S . -B build-fuzz -DNOLTACE_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DNOLTACE_BUILD_APP=OFF -DNOLTACE_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build build-fuzz -j"$(nproc)" --target "${targets[@]/#/fuzz_}"

export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
# Real Ace files seed the search when the test data is there (read, never written).
data="${NOLTACE_TESTDATA:-$(pwd)/../shared/testdata}"
declare -A seeds=([tap]=ace/tap [tzx]=ace/tzx [wav]=ace/wav [snapshot]=ace/snapshot [spool]=ace/forth [binary]=ace/tap [config]=none [breakpoints]=none [forth]=ace/snapshot [state]=none)

status=0
for t in "${targets[@]}"; do
  corpus="build-fuzz/corpus/$t"
  mkdir -p "$corpus"
  extra=()
  [ -d "$data/${seeds[$t]}" ] && extra=("$data/${seeds[$t]}")
  log="build-fuzz/fuzz_$t.log"
  if (cd build-fuzz && ./fuzz/fuzz_"$t" -max_total_time="$seconds" -max_len=70000 -rss_limit_mb=2048 \
        -artifact_prefix="fuzz_$t-" "corpus/$t" "${extra[@]}") >"$log" 2>&1; then
    # A target that ran no input at all tested nothing: count it as a failure.
    runs=$(grep -o 'Done [0-9]* runs' "$log" | tail -n 1 | grep -o '[0-9]*' || true)
    if [ "${runs:-0}" -gt 0 ]; then
      echo "fuzz_$t: ${seconds}s clean, Done $runs runs"
    else
      tail -n 20 "$log" >&2
      echo "fuzz_$t did not run (full log: $log)" >&2
      status=1
    fi
  else
    tail -n 40 "$log" >&2
    echo "fuzz_$t found a problem (full log: $log)" >&2
    status=1
  fi
done
exit $status

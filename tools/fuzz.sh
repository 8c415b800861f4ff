#!/usr/bin/env bash
# fuzz.sh [seconds per target] [build dir]: builds every libFuzzer program under fuzz/
# with clang (ASan + UBSan, no recovery) and runs each for the given time (default 30)
# from its seed corpus. New inputs go to a scratch corpus, not into the tree. Exits
# non-zero on the first finding and leaves the failing input in the build directory,
# to be added under fuzz/regressions/<target>/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-30}
dir=${2:-$root/build-fuzz}
CC=clang CXX=clang++ cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQD_FUZZ=ON \
  -DQD_BUILD_TESTS=OFF -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$dir" --parallel "$(nproc)" --target qd_fuzzers
for program in "$dir"/fuzz/fuzz_*; do
  [ -x "$program" ] || continue
  target=${program##*/fuzz_}
  work="$dir/fuzz-work/$target"
  mkdir -p "$work" "$dir/fuzz-findings"
  echo "fuzzing $target for ${seconds}s"
  if ! "$program" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=4096 -print_final_stats=1 \
      -artifact_prefix="$dir/fuzz-findings/$target-" "$work" "$root/fuzz/corpus/$target" \
      >"$dir/fuzz-findings/$target.log" 2>&1; then
    tail -n 40 "$dir/fuzz-findings/$target.log"
    echo "fuzz target $target found a fault; the input is in $dir/fuzz-findings/" >&2
    exit 1
  fi
  grep -E '^stat::number_of_executed_units' "$dir/fuzz-findings/$target.log" || true
done

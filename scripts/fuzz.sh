#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, AddressSanitizer + UndefinedBehaviorSanitizer) and runs
# each for SECONDS (default 60) on a copy of its seed corpus. Fails on any crash, hang, leak,
# out-of-memory or sanitizer report; the failing input is kept in BUILD_DIR/artifacts/.
# Usage: scripts/fuzz.sh [SECONDS] [BUILD_DIR]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
seconds="${1:-60}"
build="${2:-$root/build-fuzz}"

cmake -S "$root/fuzz" -B "$build" -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$build" --parallel "$(nproc)"

artifacts="$build/artifacts"
mkdir -p "$artifacts"
status=0
for name in reader analysis; do
  target="fuzz_record_reader"
  [ "$name" = analysis ] && target="fuzz_analysis"
  corpus="$build/corpus-$name"
  rm -rf "$corpus"
  cp -r "$root/fuzz/corpus/$name" "$corpus"
  log="$build/$target.log"
  echo "== $target: ${seconds}s on $(ls "$corpus" | wc -l) seeds"
  if "$build/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -print_final_stats=1 -artifact_prefix="$artifacts/$target-" "$corpus" >"$log" 2>&1; then
    grep -E '^stat::(number_of_executed_units|average_exec_per_sec|peak_rss_mb)' "$log" || true
    grep -E 'cov: ' "$log" | tail -n 1 || true
  else
    status=1
    echo "$target FAILED; last lines of $log:"
    tail -n 60 "$log"
    ls -l "$artifacts"
  fi
done
exit "$status"

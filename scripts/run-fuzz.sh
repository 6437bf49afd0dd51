#!/usr/bin/env bash
# Runs each fuzz target of a build folder for a short time; any crash fails the run.
set -euo pipefail
build=${1:-build-fuzz}
seconds=${2:-20}
status=0
for target in "$build"/bin/fuzz_*; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  corpus="$build/corpus/$name"
  mkdir -p "$corpus"
  echo "== $name (${seconds}s)"
  if ! "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=0 \
       "$corpus" >"$build/$name.log" 2>&1; then
    tail -n 40 "$build/$name.log"
    status=1
  else
    grep -E '^#[0-9]+.*DONE' "$build/$name.log" | tail -n 1 || true
  fi
done
exit $status

#!/usr/bin/env bash
# Runs each fuzz target of a build folder for a short time; any crash fails the run.
# Usage: run-fuzz.sh [BUILD] [SECONDS] [TARGET...] (all targets when none is named).
# Each target starts from its checked-in seeds in fuzz/corpus/<target>/, copied to a
# temporary folder so that a run never adds to them.
set -euo pipefail
build=${1:-build-fuzz}
seconds=${2:-20}
shift $(($# < 2 ? $# : 2))
seeds=$(cd "$(dirname "$0")/.." && pwd)/fuzz/corpus
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for target in "$build"/bin/fuzz_*; do
    [ -x "$target" ] && targets+=("$(basename "$target")")
  done
fi
status=0
for name in "${targets[@]}"; do
  target="$build/bin/$name"
  corpus="$work/$name"
  mkdir -p "$corpus"
  if [ -d "$seeds/$name" ]; then
    cp "$seeds/$name"/* "$corpus"/
  fi
  echo "== $name (${seconds}s, $(ls "$corpus" | wc -l) seeds)"
  if ! "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
       -artifact_prefix="$build/$name-" "$corpus" >"$build/$name.log" 2>&1; then
    tail -n 40 "$build/$name.log"
    status=1
  else
    grep -E '^#[0-9]+.*DONE' "$build/$name.log" | tail -n 1 || true
    grep -E '^stat::number_of_executed_units' "$build/$name.log" || true
  fi
done
exit $status

#!/usr/bin/env bash
# Runs every benchmark from the build folder (where the sample data set lives).
set -euo pipefail
build=$(realpath "$1")
cd "$build"
for b in bench/bench_*; do
    [ -f "$b" ] && [ -x "$b" ] || continue
    echo "== $(basename "$b")"
    "$b" --benchmark_min_time=0.5
done

#!/usr/bin/env bash
# Runs every benchmark from the build folder (where the sample data set lives).
set -euo pipefail
build=$(realpath "$1")
cd "$build"
for b in bench/bench_*; do
    [ -f "$b" ] && [ -x "$b" ] || continue
    case "$(basename "$b")" in bench_startup | bench_empty_window) continue ;; esac
    echo "== $(basename "$b")"
    "$b" --benchmark_min_time=0.5
done

# Start-up as a user sees it needs a display: a virtual one unless there is one already.
if [ -x bench/bench_startup ]; then
    echo "== bench_startup"
    XDG_RUNTIME_DIR=$(mktemp -d)
    export XDG_RUNTIME_DIR
    startup=(bench/bench_startup src/app/fetaldose bench/bench_empty_window run/data)
    if [ -n "${DISPLAY:-}" ]; then "${startup[@]}"; else xvfb-run -a "${startup[@]}"; fi
fi

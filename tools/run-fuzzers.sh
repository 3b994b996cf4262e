#!/usr/bin/env bash
# Runs every fuzz target for a while, seeded from the committed seeds and the sample data set.
# usage: run-fuzzers.sh BUILD_DIR SECONDS_PER_TARGET [EXTRA_LIBFUZZER_FLAGS...]
set -euo pipefail
build=$(realpath "$1")
seconds=$2
shift 2
root=$(cd "$(dirname "$0")/.." && pwd)
sample="$build/run/data"

seed_dir() {  # target -> folder of seeds
    local target=$1 dir="$build/seeds/$1"
    rm -rf "$dir" && mkdir -p "$dir"
    case $target in
        fuzz_catalogue) cp "$sample/nuclides.txt" "$dir/" ;;
        fuzz_nuclide_data) cp "$sample"/*.dat "$dir/" ;;
        fuzz_options) cp "$root"/fuzz/seeds/options/* "$dir/" ;;
    esac
    echo "$dir"
}

status=0
for target in fuzz_catalogue fuzz_nuclide_data fuzz_options; do
    corpus="$build/corpus/$target"
    mkdir -p "$corpus"
    seeds=$(seed_dir "$target")
    log="$build/$target.log"
    echo "== $target: ${seconds}s"
    if (cd "$build" && "./fuzz/$target" "$corpus" "$seeds" -max_total_time="$seconds" \
            -max_len=262144 -rss_limit_mb=2048 -print_final_stats=1 "$@") >"$log" 2>&1; then
        grep -E '^stat::number_of_executed_units|^stat::peak_rss_mb' "$log" || true
    else
        echo "$target FAILED; its log:"; tail -n 60 "$log"
        status=1
    fi
done
exit $status

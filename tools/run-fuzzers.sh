#!/usr/bin/env bash
# Runs every fuzz target for a while, seeded from the committed seeds and the sample data set.
# usage: run-fuzzers.sh BUILD_DIR SECONDS_PER_TARGET [EXTRA_LIBFUZZER_FLAGS...]
# FUZZ_TARGETS="fuzz_catalogue ..." runs only those targets (two shells can share the cores).
# Each target keeps its corpus in BUILD_DIR/corpus/TARGET; a crash lands in BUILD_DIR.
set -euo pipefail
build=$(realpath "$1")
seconds=$2
shift 2
root=$(cd "$(dirname "$0")/.." && pwd)
sample="$build/run/data"
targets=${FUZZ_TARGETS:-fuzz_catalogue fuzz_intakes fuzz_nuclide_data fuzz_options}

seed_dir() {  # target -> folder of seeds
    local target=$1 dir="$build/seeds/$1"
    rm -rf "$dir" && mkdir -p "$dir"
    case $target in
        fuzz_catalogue) cp "$sample/nuclides.txt" "$dir/" ;;
        fuzz_nuclide_data) cp "$sample"/*.dat "$root"/fuzz/seeds/nuclide_data/* "$dir/" ;;
        fuzz_options) cp "$root"/fuzz/seeds/options/* "$dir/" ;;
        fuzz_intakes) cp "$root"/fuzz/seeds/intakes/* "$dir/" ;;
    esac
    # One seed whose second text line spans two of the reader's buffers.
    { printf '1\r\nPu-239\r\n'; head -c 70000 /dev/zero | tr '\0' y; printf '\r\n'; } \
        >"$dir/long_line"
    echo "$dir"
}

# The longest input each target is given: long enough for lines that span several of the
# reader's 64 KiB buffers (so that a line of any length is tried, not only short ones), for a
# catalogue at capacity and for a data file of many full tables. libFuzzer grows its inputs
# towards this length step by step.
max_len() {
    case $1 in
        fuzz_catalogue) echo 262144 ;;
        fuzz_nuclide_data) echo 262144 ;;
        fuzz_options) echo 262144 ;;
        fuzz_intakes) echo 65536 ;;
    esac
}

status=0
for target in $targets; do
    corpus="$build/corpus/$target"
    mkdir -p "$corpus"
    seeds=$(seed_dir "$target")
    log="$build/$target.log"
    dict="$root/fuzz/${target#fuzz_}.dict"
    echo "== $target: ${seconds}s"
    if (cd "$build" && "./fuzz/$target" "$corpus" "$seeds" -max_total_time="$seconds" \
            -max_len="$(max_len "$target")" -dict="$dict" -timeout=25 -rss_limit_mb=2048 \
            -print_final_stats=1 "$@") >"$log" 2>&1; then
        grep -E '^stat::(number_of_executed_units|average_exec_per_sec|peak_rss_mb)' "$log" || true
        echo "corpus: $(find "$corpus" -type f | wc -l) files"
    else
        echo "$target FAILED; its log:"; tail -n 60 "$log"
        status=1
    fi
done
exit $status

#!/usr/bin/env bash
# Runs every libFuzzer program of a fuzz build for the given seconds each, starting from the
# committed seeds in fuzz/corpus/<name>/. New inputs go to <build>/fuzz-corpus/<name>/ (the seeds
# stay as committed); an input that fails is saved as <build>/fuzz-findings/<name>-crash-*.
# Usage: scripts/run-fuzzers.sh [build-fuzz] [seconds]
set -euo pipefail
build=${1:-build-fuzz}
seconds=${2:-60}
source_dir=$(cd "$(dirname "$0")/.." && pwd)
export ASAN_OPTIONS=${ASAN_OPTIONS:-abort_on_error=0:detect_leaks=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$source_dir/tests/lsan.supp}
export QT_QPA_PLATFORM=offscreen
mkdir -p "$build/fuzz-findings"
status=0
for program in "$build"/fuzz/fuzz_*; do
    [ -f "$program" ] && [ -x "$program" ] || continue
    name=$(basename "$program")
    name=${name#fuzz_}
    seeds="$source_dir/fuzz/corpus/$name"
    corpus="$build/fuzz-corpus/$name"
    mkdir -p "$corpus" "$seeds"
    echo "== fuzz_$name for ${seconds}s"
    if ! "$program" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=8192 \
            -print_final_stats=1 -artifact_prefix="$build/fuzz-findings/$name-" "$corpus" "$seeds" \
            >"$build/fuzz-findings/$name.log" 2>&1; then
        echo "fuzz_$name found a failing input:"
        grep -E "fuzz property broken|ERROR: |SUMMARY|Test unit written" "$build/fuzz-findings/$name.log" || tail -30 "$build/fuzz-findings/$name.log"
        status=1
    else
        grep -E "^stat::number_of_executed_units|^stat::new_units_added" "$build/fuzz-findings/$name.log" | tr '\n' ' '
        echo
    fi
done
exit $status

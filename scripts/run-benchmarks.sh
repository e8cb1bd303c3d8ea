#!/usr/bin/env bash
# Runs the benchmarks of a build folder, headless. The latency measurement drives the real 25 ms
# tick for a few seconds; the floor window is for scripts/measure-idle-cpu.sh and is not run here.
set -euo pipefail
build=${1:-build-release}
export QT_QPA_PLATFORM=offscreen
for bench in bench_sentences bench_run_engine bench_controller_tick bench_first_paint; do
    echo "== $bench"
    "$build/bench/$bench" --benchmark_repetitions=3 --benchmark_report_aggregates_only=true 2>/dev/null
done
echo "== bench_latency"
"$build/bench/bench_latency" 2>/dev/null
echo "== bench_soak"
"$build/bench/bench_soak" 2>/dev/null

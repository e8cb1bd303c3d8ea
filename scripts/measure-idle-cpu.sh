#!/usr/bin/env bash
# Idle CPU of Swiftlane under Xvfb while the gate simulator sends status at 10 Hz, measured in the
# same run as two floors: a bare Qt window whose 25 ms timer changes one label on every tick, and
# the same window and timer with nothing redrawn (the quiet floor).
# Prints each as a percentage of one core (user + system time from /proc/<pid>/stat).
# With --running, Swiftlane has a run in progress (the start gate was passed) and the run display open.
#   scripts/measure-idle-cpu.sh [--running] [build folder] [seconds]     (defaults: build 30)
set -euo pipefail
running=false
if [[ ${1:-} == --running ]]; then
    running=true
    shift
fi
build=${1:-build}
seconds=${2:-30}
app_program="$build/swiftlane"
$running && app_program="$build/bench/bench_running_window"
for program in "$app_program" "$build/swiftlane-gatesim" "$build/bench/bench_floor_window"; do
    [[ -x $program ]] || { echo "missing $program (build with -DSWIFTLANE_BENCH=ON)" >&2; exit 2; }
done
command -v Xvfb >/dev/null || { echo "Xvfb is not installed" >&2; exit 2; }

scratch=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill -TERM "$pid" 2>/dev/null || true; done
    for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
    rm -rf "$scratch"
}
trap cleanup EXIT

# CPU ticks (user + system) of a process; the command name may hold blanks, so cut after ")".
cpu_ticks() {
    local stat
    stat=$(<"/proc/$1/stat")
    stat=${stat##*) }
    read -r -a fields <<<"$stat"
    echo $((fields[11] + fields[12]))
}

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$scratch/display" 2>/dev/null &
pids+=($!)
for _ in $(seq 50); do [[ -s $scratch/display ]] && break; sleep 0.1; done
export DISPLAY=":$(<"$scratch/display")" QT_QPA_PLATFORM=xcb
export SWIFTLANE_ADAPTER_DIR="$scratch/adapters" XDG_DATA_HOME="$scratch/data"
export XDG_RUNTIME_DIR="$scratch/runtime"
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"

simulator_options=(--interval 100)
if $running; then
    # A demo sequence over the four gates; the start gate is passed 6 s in and the run goes on.
    mkdir -p "$XDG_DATA_HOME/Swiftlane/Runs"
    "$build/swiftlane-gatesim" --write-demo-sequence "$XDG_DATA_HOME/Swiftlane/Runs" >/dev/null
    echo "6000 1" >"$scratch/start.script"
    simulator_options+=(--script "$scratch/start.script")
fi
"$build/swiftlane-gatesim" "${simulator_options[@]}" </dev/null >"$scratch/gatesim.log" 2>&1 &
pids+=($!)
for _ in $(seq 50); do grep -q "Virtual gate adapter" "$scratch/gatesim.log" && break; sleep 0.1; done
"$app_program" >"$scratch/app.log" 2>/dev/null &
app=$!
pids+=($app)
"$build/bench/bench_floor_window" >/dev/null 2>&1 &
floor=$!
pids+=($floor)
"$build/bench/bench_floor_window" --quiet >/dev/null 2>&1 &
quiet=$!
pids+=($quiet)

sleep 3 # start-up is not idle
if $running; then
    sleep 5 # past the start gate
    grep -q "run started" "$scratch/app.log" || echo "warning: no run was started" >&2
fi
grep -q "Swiftlane opened the adapter" "$scratch/gatesim.log" || echo "warning: Swiftlane did not open the simulated adapter" >&2
hz=$(getconf CLK_TCK)
app_before=$(cpu_ticks "$app")
floor_before=$(cpu_ticks "$floor")
quiet_before=$(cpu_ticks "$quiet")
sleep "$seconds"
app_after=$(cpu_ticks "$app")
floor_after=$(cpu_ticks "$floor")
quiet_after=$(cpu_ticks "$quiet")

percent() { awk -v t="$1" -v hz="$hz" -v s="$seconds" 'BEGIN { printf "%.2f", 100 * t / hz / s }'; }
label=idle
$running && label="running, run display open,"
echo "$label CPU over ${seconds} s, % of one core: swiftlane $(percent $((app_after - app_before)))" \
    " floor $(percent $((floor_after - floor_before)))  quiet floor $(percent $((quiet_after - quiet_before)))"

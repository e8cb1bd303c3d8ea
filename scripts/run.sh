#!/usr/bin/env bash
# Starts Swiftlane from the given build folder. When no gate adapter is attached, the gate
# simulator runs in the background with simulated athletes and stops when the application exits.
set -euo pipefail
build=${1:-build}
gatesim="$build/swiftlane-gatesim"

# A first start gets a gate sequence to time right away.
runs="${XDG_DATA_HOME:-$HOME/.local/share}/Swiftlane/Runs"
mkdir -p "$runs"
"$gatesim" --write-demo-sequence "$runs"

simulator_pid=
stop_simulator() {
    if [[ -n $simulator_pid ]]; then
        kill -TERM "$simulator_pid" 2>/dev/null || true
        wait "$simulator_pid" 2>/dev/null || true
    fi
}

if "$gatesim" --real-adapter-attached; then
    echo "Gate adapter attached: timing with the real gates."
elif "$gatesim" --list-adapters | grep -q $'\tvirtual\t'; then
    echo "A gate simulator is already running: Swiftlane will use it."
else
    log="$build/swiftlane-gatesim.log"
    # Standard input from /dev/null: a background job must not touch the terminal's modes.
    "$gatesim" --auto </dev/null >"$log" 2>&1 &
    simulator_pid=$!
    trap stop_simulator EXIT
    trap 'exit 130' INT TERM
    for _ in $(seq 20); do
        grep -q "Virtual gate adapter" "$log" 2>/dev/null && break
        kill -0 "$simulator_pid" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$simulator_pid" 2>/dev/null; then
        echo "No gate adapter attached: the gate simulator runs simulated athletes (true splits in $log)."
    else
        wait "$simulator_pid" 2>/dev/null || true
        simulator_pid=
        echo "The gate simulator did not start; Swiftlane starts without gates. End of $log:" >&2
        tail -n 5 "$log" >&2 || true
    fi
fi

status=0
"$build/swiftlane" "${@:2}" || status=$?
exit "$status"

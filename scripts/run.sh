#!/usr/bin/env bash
# Starts Swiftlane from the given build folder.
set -euo pipefail
build=${1:-build}
exec "$build/swiftlane"

#!/usr/bin/env bash
# Builds the release configuration and runs the simulated home screen on the sample device.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset release >/dev/null
cmake --build --preset release
exec build/release/tools/tintwell-springboard --root build/release/device "$@"

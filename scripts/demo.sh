#!/usr/bin/env bash
# The main job: builds the release configuration and runs the demo on the sample device
# (demo/run.sh): the home screen live, Tintwell's settings page tapping its test button,
# the style gallery. Writes everything into one folder: out/ by default, or the first
# argument, and prints the paths.
set -euo pipefail
cd "$(dirname "$0")/.."
out="${1:-out}"
scripts/setup.sh
cmake --preset release >/dev/null
# What the demo runs (both hosts, both deliverables, the companions and the sample device),
# and the small tools the docs' examples use.
cmake --build --preset release --target tintwell-springboard tintwell-settings \
    Tintwell TintwellPrefs Axon Grupi Dayn sample_device \
    tintwell-notify tintwell-colors tintwell-bound-settings tintwell-make-device
demo/run.sh build/release/tools/tintwell-springboard build/release/tools/settings/tintwell-settings \
    build/release/device "$out"

#!/usr/bin/env bash
# The live preview: builds what it runs (release) and starts tintwell-preview on a fresh
# copy of the sample device; open the address it prints. Ctrl-C stops it.
#   scripts/preview.sh [tintwell-preview options, e.g. --port 8080 or --root DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset release >/dev/null
cmake --build --preset release --target tintwell-preview tintwell-springboard \
    Tintwell TintwellPrefs Axon Grupi Dayn sample_device
exec build/release/tools/preview/tintwell-preview "$@"

#!/usr/bin/env bash
# The main job: builds the release configuration and runs the demo on the sample device.
# Writes the tinted lock screen (picture and snapshot) and the style gallery into one
# folder: out/ by default, or the first argument.
set -euo pipefail
cd "$(dirname "$0")/.."
out="${1:-out}"
scripts/setup.sh
cmake --preset release >/dev/null
# Only what the demo runs: the host, the extension and the sample device.
cmake --build --preset release --target tintwell-springboard Tintwell sample_device
host=build/release/tools/tintwell-springboard
device=build/release/device
mkdir -p "$out"

"$host" --root "$device" --scenario demo/lockscreen.json \
    --snapshot "$out/snapshot.json" --picture "$out/lockscreen.png"
demo/gallery.sh "$host" "$device" "$out/gallery"

echo "picture:  $out/lockscreen.png"
echo "snapshot: $out/snapshot.json"
echo "gallery:  $out/gallery/index.html"

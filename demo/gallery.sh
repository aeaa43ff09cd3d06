#!/usr/bin/env bash
# The lock screen in each notification style (outline, fill, both), light and dark:
# six pictures with their snapshots, and an index showing them side by side.
#   demo/gallery.sh HOST DEVICE_ROOT OUT_DIR
set -euo pipefail
if [ $# -ne 3 ]; then
  echo "usage: $0 HOST DEVICE_ROOT OUT_DIR" >&2
  exit 2
fi
host=$1 device=$2 out=$3
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# A copy, so the chosen styles never stay in the sample device's preferences.
cp -R "$device" "$work/device"
rm -rf "$work/device/private/var/run/notify"

styles=(outline fill both)
{
  echo '<!DOCTYPE html><html><head><meta charset="utf-8"><title>Tintwell styles</title>'
  echo '<style>body{font-family:sans-serif;background:#222;color:#eee}td{padding:8px;text-align:center}img{width:260px}</style></head><body>'
  echo '<h1>Tintwell notification styles</h1><table><tr><th></th><th>light</th><th>dark</th></tr>'
} > "$out/index.html"
for style in 0 1 2; do
  echo "<tr><th>${styles[$style]} ($style)</th>" >> "$out/index.html"
  for appearance in light dark; do
    name=${styles[$style]}-$appearance
    cat > "$work/$name.json" <<JSON
{
  "description": "The test notifications in style $style, $appearance appearance.",
  "events": [
    { "appearance": "$appearance" },
    { "writePreference": { "domain": "com.quillfen.tintwellprefs", "key": "NotificationStyle", "value": $style } },
    { "post": "com.quillfen.tintwell/TestNotifications" },
    { "advance": 1 },
    { "advance": 0.5, "note": "lets the delayed repaint run" }
  ]
}
JSON
    "$host" --root "$work/device" --quiet --scenario "$work/$name.json" \
        --snapshot "$out/$name.json" --picture "$out/$name.png" --picture-scale 1
    echo "<td><img src=\"$name.png\" alt=\"$name\"></td>" >> "$out/index.html"
  done
  echo '</tr>' >> "$out/index.html"
done
echo '</table></body></html>' >> "$out/index.html"

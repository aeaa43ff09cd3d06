#!/usr/bin/env bash
# The demo with built hosts: the home screen runs demo/lockscreen.json on a copy of the
# device root while the Settings host taps Tintwell's "Test Notifications" button, then
# the style gallery. Writes everything into OUT_DIR and prints the paths.
#   demo/run.sh SPRINGBOARD_HOST SETTINGS_HOST DEVICE_ROOT OUT_DIR
set -euo pipefail
if [ $# -ne 4 ]; then
  echo "usage: $0 SPRINGBOARD_HOST SETTINGS_HOST DEVICE_ROOT OUT_DIR" >&2
  exit 2
fi
host=$1 settings=$2 device=$3 out=$4
demo=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$out"
out=$(cd "$out" && pwd)
work=$(mktemp -d)
# Settings someone stored on the device show in the demo; say so rather than surprise.
stored="$device/var/mobile/Library/Preferences/com.quillfen.tintwellprefs.plist"
if [ -f "$stored" ]; then
  echo "demo: the Tintwell settings stored on $device apply (delete $stored for the defaults)" >&2
fi
hostpid=
cleanup() {
  [ -n "$hostpid" ] && kill "$hostpid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
# A copy, so no other process on the sample device hears the button, nor this run theirs.
cp -R "$device" "$work/device"
rm -rf "$work/device/private/var/run"
# The scenario's first event writes this once the home screen hears the button; a tap
# before then would be lost.
listening="$work/device/var/mobile/Library/Preferences/com.quillfen.tintwell.demo.plist"
rm -f "$listening"

"$host" --root "$work/device" --scenario "$demo/lockscreen.json" \
    --snapshot "$out/snapshot.json" --picture "$out/lockscreen.png" >"$work/springboard.log" 2>&1 &
hostpid=$!

for _ in $(seq 600); do
  [ -e "$listening" ] && break
  kill -0 "$hostpid" 2>/dev/null || break
  sleep 0.05
done
if [ ! -e "$listening" ]; then
  echo "$0: the home screen did not come up" >&2
  cat "$work/springboard.log" >&2
  exit 1
fi

if ! "$settings" --root "$work/device" --do "open Tintwell" --do "tap Test Notifications" \
    --picture "$out/settings.png" >"$work/settings.log" 2>&1; then
  cat "$work/settings.log" >&2
  exit 1
fi
status=0
wait "$hostpid" || status=$?
hostpid=
if [ $status -ne 0 ]; then
  cat "$work/springboard.log" >&2
  exit 1
fi
# Events that found nothing to act on are worth seeing; the rest is the load report.
grep '^tintwell-springboard: ' "$work/springboard.log" >&2 || true

"$demo/gallery.sh" "$host" "$device" "$out/gallery"

echo "lock screen: $out/lockscreen.png"
echo "snapshot:    $out/snapshot.json"
echo "settings:    $out/settings.png"
echo "gallery:     $out/gallery/index.html"

#!/usr/bin/env bash
# installed.sh WORK SOURCE TOOLS_DEB TWEAK CEPHEI SPARK (classic) TWEAK CEPHEI SPARK (rootless)
# The packages as a user installs them: the host package into a fresh folder (its tools
# run from there), each phone layout into a fresh device root; the home screen must load
# Tintwell and tint the test notifications, the Settings app must open its page, store a
# setting and reach the restart tool where that layout keeps it.
set -euo pipefail
work=$1 source=$2 tools=$3
classic=("$4" "$5" "$6")
rootless=("$7" "$8" "$9")
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
# Reads all its input: with pipefail, an early exit of grep -q would fail the writer.
has() { grep "$@" >/dev/null; }

host=$work/host
mkdir -p "$host"
dpkg-deb -x "$tools" "$host"
bin=$host/usr/bin
for tool in tintwell-springboard tintwell-settings tintwell-preview tintwell-notify tintwell-colors tintwell-make-device tintwell-bound-settings; do
  "$bin/$tool" --version | has -x "$tool [0-9.]*" || fail "$tool --version"
done

for layout in classic rootless; do
  root=$work/$layout-device
  if [ $layout = rootless ]; then
    "$bin/tintwell-make-device" "$root" --rootless
    debs=("${rootless[@]}") jb=/var/jb
  else
    "$bin/tintwell-make-device" "$root"
    debs=("${classic[@]}") jb=""
  fi
  for deb in "${debs[@]}"; do dpkg-deb -x "$deb" "$root"; done

  "$bin/tintwell-springboard" --root "$root" --scenario "$source/tests/scenarios/test-notifications.json" \
    --snapshot "$work/$layout.json" >"$work/$layout.report" 2>&1 || fail "$layout: home screen exited with $?: $(head -3 "$work/$layout.report")"
  grep -q '^Tintwell.dylib: loaded (' "$work/$layout.report" || fail "$layout: Tintwell did not load: $(head -3 "$work/$layout.report")"
  # The samples on screen, each outlined in its app's colour (the defaults: a 3-point
  # outline): Music's, the App Store's and the Messages stack's three, whose front counts
  # the twelve behind it (the ten not shown are not views).
  outlined=$(tr -d ' \n' < "$work/$layout.json" | grep -oE '"borderWidth":3(\.0)?[,}]' | wc -l || true)
  [ "$outlined" -ge 5 ] || fail "$layout: $outlined tinted platters in the snapshot, expected at least 5"
  grep -q '"text": "12 more notifications"' "$work/$layout.json" || fail "$layout: the Messages stack does not count the twelve behind it"

  "$bin/tintwell-settings" --root "$root" --do "open Tintwell" --do "open Notifications" --do "set Fill/Opacity = 40" \
    >"$work/$layout.settings" 2>&1 || fail "$layout: Settings could not set a value: $(cat "$work/$layout.settings")"
  stored=$("$bin/tintwell-bound-settings" --root "$root" --json | tr -d ' \n' | grep -o '"key":"NotifFullAlpha","kind":"integer","stored":40' || true)
  [ -n "$stored" ] || fail "$layout: the setting was not stored"
  # The restart goes to the layout's own restart tool; none runs, so it says no home screen runs.
  "$bin/tintwell-settings" --root "$root" --do "open Tintwell" --do "tap ReSpring" --do "alert Confirm" >"$work/$layout.restart" 2>&1 \
    || fail "$layout: the restart could not be asked for: $(cat "$work/$layout.restart")"
  grep -q 'sbreload: no home-screen host runs' "$work/$layout.restart" \
    || fail "$layout: the restart did not reach $jb/usr/bin/sbreload: $(cat "$work/$layout.restart")"
done

# The colours command loads cairo and the app records only when it needs them: an icon
# smaller than its grid is stretched by drawing, an installed app's icon is drawn by the
# app records. Both must be found where the package put them.
base64 -d >"$work/tiny.png" <<<'iVBORw0KGgoAAAANSUhEUgAAAAQAAAAECAYAAACp8Z5+AAAAMUlEQVR4nBXIoQEAMAgEsddoNLrj/DiMyFb0EDHRSDsPRms1CgJGx0USMDovioDRtR9JOCEhP3jftAAAAABJRU5ErkJggg=='
"$bin/tintwell-colors" "$work/tiny.png" 2>&1 | has '"merged":"#C83C0F"' || fail "tintwell-colors could not analyse a small icon"
"$bin/tintwell-colors" --root "$work/classic-device" --bundle-id com.apple.MobileSMS 2>&1 | has '"icon":"app"' \
  || fail "tintwell-colors could not analyse an installed app's icon"

# The installed preview finds the home screen and the sample device installed beside it.
"$bin/tintwell-preview" >"$work/preview.log" 2>&1 &
preview=$!
for _ in $(seq 600); do has 'http://127.0.0.1:' "$work/preview.log" && break; sleep 0.1; done
url=$(grep -o 'http://127.0.0.1:[0-9]*/' "$work/preview.log" || true)
if [ -z "$url" ]; then
  fail "tintwell-preview did not serve: $(tail -3 "$work/preview.log")"
else
  curl -s "${url}api/state" | has 'Test Notifications' || fail "tintwell-preview served no settings pages"
fi
kill -TERM "$preview"
wait "$preview" || fail "tintwell-preview exited with $? when stopped"

# The host package alone shows the demo.
"$bin/tintwell-demo" "$work/demo" >"$work/demo.log" 2>&1 || fail "tintwell-demo exited with $?: $(tail -5 "$work/demo.log")"
for result in lockscreen.png snapshot.json settings.png gallery/index.html; do
  [ -s "$work/demo/$result" ] || fail "tintwell-demo wrote no $result"
done

[ "$failures" -eq 0 ] || { echo "$failures failure(s) once installed" >&2; exit 1; }
echo "installed: tools, both layouts and the demo run"

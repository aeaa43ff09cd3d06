#!/usr/bin/env bash
# package_test.sh CPACK CPACK_CONFIG HOST VERSION HAS_PREFS
set -euo pipefail
cpack=$1 config=$2 host=$3 version=$4 has_prefs=$5
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

"$cpack" --config "$config" -G DEB -B "$work/out" >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log" >&2; exit 1; }
classic=$work/out/com.quillfen.tintwell_${version}_iphoneos-arm.deb
rootless=$work/out/com.quillfen.tintwell_${version}_iphoneos-arm64.deb

check_field() { # deb field expected
  local value
  value=$(dpkg-deb -f "$1" "$2" 2>/dev/null || true)
  [ "$value" = "$3" ] || fail "$(basename "$1"): $2 is '$value', expected '$3'"
}

for flavour in classic rootless; do
  if [ "$flavour" = classic ]; then deb=$classic arch=iphoneos-arm prefix=""; else deb=$rootless arch=iphoneos-arm64 prefix="var/jb/"; fi
  [ -f "$deb" ] || { fail "no $flavour package ($(ls "$work/out" | tr '\n' ' '))"; continue; }
  check_field "$deb" Package com.quillfen.tintwell
  check_field "$deb" Name Tintwell
  check_field "$deb" Version "$version"
  check_field "$deb" Architecture "$arch"
  check_field "$deb" Section Tweaks
  check_field "$deb" Depends "mobilesubstrate, preferenceloader, ws.hbang.common, com.spark.libsparkcolourpicker"
  [ -n "$(dpkg-deb -f "$deb" Author)" ] || fail "$flavour: no Author"
  [ -n "$(dpkg-deb -f "$deb" Description)" ] || fail "$flavour: no Description"

  # Paths as the archive lists them, without the leading "./".
  dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./||; s|/$||' | grep -v '^$' > "$work/$flavour.files"
  expected=("${prefix}Library/MobileSubstrate/DynamicLibraries/Tintwell.dylib"
            "${prefix}Library/MobileSubstrate/DynamicLibraries/Tintwell.plist")
  if [ "$has_prefs" = 1 ]; then
    expected+=("${prefix}Library/PreferenceBundles/TintwellPrefs.bundle/TintwellPrefs"
               "${prefix}Library/PreferenceBundles/TintwellPrefs.bundle/Info.plist"
               "${prefix}Library/PreferenceBundles/TintwellPrefs.bundle/Root.plist"
               "${prefix}Library/PreferenceLoader/Preferences/TintwellPrefs.plist")
  fi
  for path in "${expected[@]}"; do
    grep -qx "$path" "$work/$flavour.files" || fail "$flavour: $path is not in the package"
  done
  # Nothing of the user's, and in the rootless layout nothing outside /var/jb.
  if grep -q 'var/mobile' "$work/$flavour.files"; then fail "$flavour: user files are packaged"; fi
  if [ -n "$prefix" ] && grep -v '^var$' "$work/$flavour.files" | grep -v '^var/jb' | grep -q .; then
    fail "$flavour: paths outside /var/jb: $(grep -v '^var$' "$work/$flavour.files" | grep -v '^var/jb' | head -3 | tr '\n' ' ')"
  fi
  if [ -z "$prefix" ] && grep -q '^var/jb' "$work/$flavour.files"; then fail "classic: rootless paths"; fi
done

# The classic package installed on a fresh device: the host loads Tintwell from it.
if [ -f "$classic" ]; then
  root=$work/device
  mkdir -p "$root"
  dpkg-deb -x "$classic" "$root"
  "$host" --root "$root" > "$work/report.txt" 2>&1 || fail "host exited with $?"
  grep -qx 'Tintwell.dylib: loaded' "$work/report.txt" || fail "Tintwell did not load: $(head -3 "$work/report.txt")"
  grep -q '^Tintwell.dylib: replaced -\[' "$work/report.txt" || fail "Tintwell replaced nothing"
fi

[ "$failures" -eq 0 ] || { echo "$failures failure(s)" >&2; exit 1; }
echo "package: both flavours checked, Tintwell loads from the classic one"

#!/usr/bin/env bash
# package_test.sh CPACK CPACK_CONFIG BUILD_DIR SOURCE_DIR VERSION
# Makes every package once, checks their control files and contents, checks that no
# installed binary names the build folder (readelf -d and the bytes), then installs them
# the way a user would, away from the build: the host package into a fresh folder, each
# phone layout into a fresh device root made by the installed tools, and runs the
# installed home screen and Settings app there, with the build folder hidden when the
# system allows it (installed.sh).
set -euo pipefail
cpack=$1 config=$2 build=$3 source=$4 version=$5
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
# Reads all its input: with pipefail, an early exit of grep -q would fail the writer.
has() { grep "$@" >/dev/null; }

"$cpack" --config "$config" -B "$work/out" >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log" >&2; exit 1; }
echo "package: made in ${SECONDS}s"

tools=$work/out/tintwell-tools_${version}_amd64.deb
declare -A tweak cephei spark
for layout in classic rootless; do
  tweak[$layout]=$work/out/com.quillfen.tintwell_${version}_${layout}_amd64.deb
  spark[$layout]=$work/out/com.spark.libsparkcolourpicker_1.0.0_${layout}_amd64.deb
done
cephei[classic]=$work/out/ws.hbang.common_1.11.0_classic_amd64.deb
cephei[rootless]=$work/out/ws.hbang.common_2.0.0_rootless_amd64.deb

field() { dpkg-deb -f "$1" "$2" 2>/dev/null || true; }
check_field() { # deb field expected
  local value
  value=$(field "$1" "$2")
  [ "$value" = "$3" ] || fail "$(basename "$1"): $2 is '$value', expected '$3'"
}
files_of() { dpkg-deb -c "$1" | awk '{print $6}' | sed 's|^\./||; s|/$||' | grep -v '^$'; }

for deb in "$tools" "${tweak[@]}" "${cephei[@]}" "${spark[@]}"; do
  [ -f "$deb" ] || { fail "no $(basename "$deb") ($(ls "$work/out" | tr '\n' ' '))"; continue; }
  # The binaries are Linux x86-64: the label says so, for the phone layouts too.
  check_field "$deb" Architecture amd64
  [ -n "$(field "$deb" Maintainer)" ] || fail "$(basename "$deb"): no Maintainer"
  [ "$(field "$deb" Description | wc -l)" -gt 2 ] || fail "$(basename "$deb"): no long description"
done

for layout in classic rootless; do
  if [ $layout = rootless ]; then prefix="var/jb/" cephei_least=2.0; else prefix="" cephei_least=1.11; fi
  deb=${tweak[$layout]}
  [ -f "$deb" ] || continue
  check_field "$deb" Package com.quillfen.tintwell
  check_field "$deb" Name Tintwell
  check_field "$deb" Version "$version"
  check_field "$deb" Section Tweaks
  check_field "$deb" Depends "mobilesubstrate (>= 0.9.5000), preferenceloader (>= 2.2.6), ws.hbang.common (>= $cephei_least), com.spark.libsparkcolourpicker (>= 1.0)"
  [ -n "$(field "$deb" Author)" ] || fail "$layout: no Author"
  [ -n "$(field "$deb" Depiction)" ] || fail "$layout: no Depiction"
  field "$deb" Description | has 'simulated device' || fail "$layout: the description does not say the binaries are for the simulated device"
  # What Depends names is packaged, in a version that satisfies it.
  for dependency in "${cephei[$layout]}" "${spark[$layout]}"; do
    name=$(field "$dependency" Package)
    least=$(field "$deb" Depends | tr ',' '\n' | sed -n "s/^ *$name (>= \(.*\))$/\1/p")
    [ -n "$least" ] && dpkg --compare-versions "$(field "$dependency" Version)" ge "$least" \
      || fail "$layout: Depends on $name (>= $least) but its package is $(field "$dependency" Version)"
  done

  files_of "$deb" > "$work/$layout.files"
  files_of "${cephei[$layout]}" >> "$work/$layout.files"
  files_of "${spark[$layout]}" >> "$work/$layout.files"
  for path in Library/MobileSubstrate/DynamicLibraries/Tintwell.dylib Library/MobileSubstrate/DynamicLibraries/Tintwell.plist \
              Library/PreferenceBundles/TintwellPrefs.bundle/TintwellPrefs Library/PreferenceBundles/TintwellPrefs.bundle/Info.plist \
              Library/PreferenceBundles/TintwellPrefs.bundle/Root.plist Library/PreferenceBundles/TintwellPrefs.bundle/Icons/Notifs-icon@2x.png \
              Library/PreferenceLoader/Preferences/TintwellPrefs.plist \
              usr/lib/liboutside_cephei.so usr/lib/liboutside_cephei_prefs.so \
              usr/lib/liboutside_sparkcolourpicker.so usr/lib/liboutside_sparkcolourpicker_prefs.so; do
    grep -qx "$prefix$path" "$work/$layout.files" || fail "$layout: $prefix$path is in no package"
  done
  if grep -q 'var/mobile' "$work/$layout.files"; then fail "$layout: user files are packaged"; fi
  if [ -n "$prefix" ] && grep -v '^var$' "$work/$layout.files" | grep -v '^var/jb' | has .; then
    fail "rootless: paths outside /var/jb: $(grep -v '^var$' "$work/$layout.files" | grep -v '^var/jb' | head -3 | tr '\n' ' ')"
  fi
  if [ -z "$prefix" ] && grep -q '^var/jb' "$work/$layout.files"; then fail "classic: rootless paths"; fi
done

# Every binary finds its libraries relative to itself; nothing holds the build folder.
for deb in "$tools" "${tweak[@]}" "${cephei[@]}" "${spark[@]}"; do
  [ -f "$deb" ] || continue
  unpacked=$work/unpacked/$(basename "$deb" .deb)
  mkdir -p "$unpacked"
  dpkg-deb -x "$deb" "$unpacked"
  while IFS= read -r -d '' file; do
    [ "$(head -c 4 "$file" | od -An -c | tr -d ' ')" = '177ELF' ] || continue
    dynamic=$(readelf -d "$file")
    while read -r runpath; do
      for entry in ${runpath//:/ }; do
        case $entry in '$ORIGIN'|'$ORIGIN/'*) ;; *) fail "${file#"$unpacked"/}: RUNPATH entry $entry" ;; esac
      done
    done < <(echo "$dynamic" | sed -n 's/.*(\(RUNPATH\|RPATH\)).*\[\(.*\)\]/\2/p')
    if echo "$dynamic" | grep '(NEEDED)' | has '/'; then fail "${file#"$unpacked"/}: a NEEDED entry holds a path"; fi
  done < <(find "$unpacked" -type f -print0)
  if grep -rlF "$build" "$unpacked" >/dev/null; then
    fail "$(basename "$deb"): names the build folder: $(grep -rlF "$build" "$unpacked" | head -3 | tr '\n' ' ')"
  fi
done
# The rootless build holds the rootless paths, the classic one none of them.
rootless_dylib=$work/unpacked/com.quillfen.tintwell_${version}_rootless_amd64/var/jb/Library/MobileSubstrate/DynamicLibraries/Tintwell.dylib
classic_dylib=$work/unpacked/com.quillfen.tintwell_${version}_classic_amd64/Library/MobileSubstrate/DynamicLibraries/Tintwell.dylib
if [ -f "$rootless_dylib" ] && [ -f "$classic_dylib" ]; then
  strings "$rootless_dylib" | has -x '/var/jb/Library/MobileSubstrate/DynamicLibraries/Axon.dylib' || fail "rootless Tintwell.dylib lacks the rootless companion paths"
  if strings "$classic_dylib" | has '/var/jb'; then fail "classic Tintwell.dylib holds /var/jb paths"; fi
  bundle=$work/unpacked/com.quillfen.tintwell_${version}_rootless_amd64/var/jb/Library/PreferenceBundles/TintwellPrefs.bundle/TintwellPrefs
  strings "$bundle" | has -x '/var/jb/Library/PreferenceBundles/TintwellPrefs.bundle/Icons/Notifs-icon@2x.png' || fail "rootless bundle lacks its rootless icon path"
  strings "$bundle" | has -x '/var/jb/usr/bin/sbreload' || fail "rootless bundle lacks the rootless restart tool"
fi
# The colour rows' cell class comes from the colour-picker library: the bundle must load it.
for layout in classic rootless; do
  prefix=""
  [ $layout = rootless ] && prefix=var/jb/
  bundle=$work/unpacked/com.quillfen.tintwell_${version}_${layout}_amd64/${prefix}Library/PreferenceBundles/TintwellPrefs.bundle/TintwellPrefs
  [ -f "$bundle" ] || continue
  readelf -d "$bundle" | has 'NEEDED.*\[liboutside_sparkcolourpicker_prefs.so\]' || fail "$layout bundle does not load the colour-picker library"
done

[ "$failures" -eq 0 ] || { echo "$failures failure(s) before installing" >&2; exit 1; }
echo "package: control files, contents and RUNPATHs checked at ${SECONDS}s"

# Installed and run away from the build: the build folder hidden behind an empty one
# where a private mount namespace is possible (root in CI), else as it is (the checks
# above already showed nothing names it).
installed=(bash "$source/tests/package/installed.sh" "$work" "$source" "$tools"
           "${tweak[classic]}" "${cephei[classic]}" "${spark[classic]}"
           "${tweak[rootless]}" "${cephei[rootless]}" "${spark[rootless]}")
if command -v unshare >/dev/null && unshare -m true 2>/dev/null; then
  unshare -m bash -c 'mount -t tmpfs tmpfs "$0" && exec "$@"' "$build" "${installed[@]}" || exit 1
  echo "package: installed and run with the build folder hidden, done at ${SECONDS}s"
else
  "${installed[@]}" || exit 1
  echo "package: installed and run (no mount namespace here: the build folder stayed visible)"
fi

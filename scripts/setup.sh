#!/usr/bin/env bash
# Installs the Debian packages the build needs, only when one is missing.
#   scripts/setup.sh [preset...]
# The clang and fuzz presets also need Debian's clang and its sanitizer and libFuzzer runtimes;
# they are installed only when one of those presets is named.
# --icon-corpus also installs the real app icons the colour benchmarks read (docs/benchmarks.md).
# --browser also installs Chromium, its driver and Selenium, for the preview's browser test
# (tests/preview); scripts/test.sh asks for them. Without them that test is skipped.
set -euo pipefail
packages=(
  build-essential cmake ninja-build pkg-config ccache
  libplist-dev libplist++-dev libcairo2-dev libpango1.0-dev libspng-dev zlib1g-dev
  nlohmann-json3-dev libcli11-dev libgtest-dev libgmock-dev libbenchmark-dev libcpp-httplib-dev
  fonts-dejavu-core curl
)
for argument in "$@"; do
  case "$argument" in
    clang|fuzz) packages+=(clang libclang-rt-dev) ;;
    --icon-corpus) packages+=(oxygen-icon-theme moka-icon-theme) ;;
    --browser) packages+=(chromium chromium-driver python3-selenium) ;;
    *) ;;
  esac
done
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

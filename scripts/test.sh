#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer and runs the whole suite.
set -euo pipefail
cd "$(dirname "$0")/.."
# Paths relative to the checkout, so a compiler cache filled by another checkout serves this one.
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
# The browser too, so the preview's browser test runs rather than being skipped.
scripts/setup.sh --browser
cmake --preset asan >/dev/null
cmake --build --preset asan
ctest --preset asan

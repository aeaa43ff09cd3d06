#!/usr/bin/env bash
# docs_commands_test.sh SOURCE BUILD
# Runs every block fenced as `sh` in README.md and docs/*.md, as written, from a folder
# that looks like the checkout after the README's two commands: the sources, with
# build/release and build/asan standing for this build. A file's blocks run in order
# (a block may use what an earlier one made); each must exit 0 within two minutes.
# Blocks fenced otherwise (`shell`, `text`, ...) are shown to readers, not run.
set -uo pipefail
source=$1 build=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
for entry in "$source"/* "$source"/.[!.]*; do
  [ -e "$entry" ] || continue
  [ "$(basename "$entry")" = build ] && continue
  ln -s "$entry" "$scratch/"
done
mkdir "$scratch/build"
ln -s "$build" "$scratch/build/release"
ln -s "$build" "$scratch/build/asan"

failures=0 blocks=0
for doc in "$source/README.md" "$source"/docs/*.md; do
  name=${doc#"$source"/}
  # One file per block, numbered with the line it starts on.
  rm -rf "$scratch/.blocks" && mkdir "$scratch/.blocks"
  awk -v out="$scratch/.blocks" '
    /^```sh[ \t]*$/ { inside = 1; start = NR; file = sprintf("%s/%06d.sh", out, NR); next }
    /^```/ && inside { inside = 0; close(file); next }
    inside { print > file }' "$doc"
  for block in "$scratch"/.blocks/*.sh; do
    [ -e "$block" ] || continue
    blocks=$((blocks + 1))
    line=$((10#$(basename "$block" .sh)))
    if ! (cd "$scratch" && timeout 120 bash -euo pipefail "$block") >"$scratch/.output" 2>&1; then
      failures=$((failures + 1))
      echo "FAIL: $name, the block at line $line:" >&2
      sed 's/^/    /' "$block" >&2
      echo "  printed:" >&2
      tail -15 "$scratch/.output" | sed 's/^/    /' >&2
    fi
  done
done
rm -rf "$scratch/.blocks"
[ "$blocks" -gt 0 ] || { echo "FAIL: no sh block found" >&2; exit 1; }
[ "$failures" -eq 0 ] || { echo "$failures of $blocks blocks failed" >&2; exit 1; }
echo "docs: $blocks blocks ran"

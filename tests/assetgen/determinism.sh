#!/usr/bin/env bash
# Runs the asset generator again into a fresh folder and checks every file is byte-identical
# to the build's own output: the same sources must always give the same data.
set -euo pipefail
generator=$1
built=$2
fresh=$(mktemp -d)
trap 'rm -rf "$fresh"' EXIT
"$generator" --out "$fresh" --icons "$fresh/icons" >/dev/null
status=0
count=0
for file in "$built"/Data/*.vil "$built"/Sounds/*.wav "$built"/Sounds/*.xm "$built"/icons/hicolor/*/apps/*.png; do
  relative=${file#"$built"/}
  count=$((count + 1))
  if ! cmp -s "$file" "$fresh/$relative"; then
    echo "differs between two runs: $relative"
    status=1
  fi
done
[ "$count" -ge 31 ] || { echo "only $count generated files found in $built"; status=1; }
exit $status

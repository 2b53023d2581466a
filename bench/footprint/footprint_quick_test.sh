#!/usr/bin/env bash
# Runs footprint_bench --quick against a build folder and checks that its table is complete: every
# row it must have is there once per scenario, with a number for the build (not "failed", "n/a" or
# "not reported"). Catches a broken tool, not a slow game.
#   footprint_quick_test.sh FOOTPRINT_BENCH BUILD_DIR [--window | --breakdown]
set -u
bench=$1 build=$2 mode=${3:-}
out=$(mktemp)
err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT
fail() { echo "FAIL: $1"; echo "--- table:"; cat "$out"; echo "--- messages:"; tail -40 "$err"; exit 1; }

"$bench" --build "$build" --quick $mode >"$out" 2>"$err" || fail "footprint_bench exited with $?"

# ROW COUNT: the row must appear COUNT times, each with a number in the build's column.
expect_rows() {
  local label=$1 count=$2 found
  found=$(grep -cE "^  ${label} +-?[0-9]+(\.[0-9]+)?( \(|$)" "$out")
  [ "$found" -eq "$count" ] || fail "\"$label\" has a number $found times, not $count"
}
if [ "$mode" = --breakdown ]; then
  # One table with four columns (menu and race on both renderers), each cell a number.
  grep -qE '^ +menu null +menu offscreen +race null +race offscreen$' "$out" || fail "no column heading"
  num='-?[0-9]+\.[0-9]'
  rows=$(grep -cE "^  .*[^ ]  +$num +$num +$num +$num$" "$out")
  for label in "pictures \(encoded bytes kept\)" "textures \(driver copies\)" "collision texels \(FTexels\)" \
               "fonts" "audio" "heap total" "LLVM" "SDL" "libc, libm, ld.so" "the program" "total at that sample" \
               "peak RSS \(wait4\)"; do
    grep -qE "^  $label  +$num +$num +$num +$num$" "$out" || fail "no row \"$label\" with four numbers"
  done
  # Ten heap owners and their total, twelve mapping groups and theirs, the peak and the slack.
  [ "$rows" -eq 26 ] || fail "$rows rows with four numbers, not 26"
  # The owners add up to the heap total, and the groups to the sample's total (rounding aside).
  awk '
    function check() { for (c = 0; c < 4; c++) if (sqrt((sum[c] - $(NF-3+c))^2) > 1) bad = 1; delete sum }
    /^heap at heaptrack/ || /^resident, MiB/ { adding = 1; next }
    /^at the peak/ { adding = 0; next }
    adding && (/^  heap total/ || /^  total at that sample/) { check(); next }
    adding && /^  / { for (c = 0; c < 4; c++) sum[c] += $(NF-3+c) }
    END { exit bad }' "$out" || fail "the rows do not add up to their totals"
else
  expect_rows "peak RSS, MiB" 6
  expect_rows "wall time, s" 6
  expect_rows "start-up to first frame, ms" 6
  expect_rows "car page's start to first race frame, ms" 2
  expect_rows "frames" 2
  expect_rows "real-time factor \(game time / wall time\)" 1
  if [ "$mode" = --window ]; then
    expect_rows "first frame, ms \(the game's own timing\)" 1
    expect_rows "first frame, ms \(from exec, seen by the bench\)" 1
    expect_rows "peak RSS MiB \(up [0-9.]+ s after the first frame\)" 1
  fi
fi
grep -qE "failed|n/a|not reported" "$out" && fail "a cell has no number"
echo "complete table:"
cat "$out"

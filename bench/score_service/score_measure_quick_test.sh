#!/usr/bin/env bash
# The measurement script's short run against both servers: it must finish, measure every scenario,
# and find every load submission stored. MEASURE_SH BUILD_DIR
set -euo pipefail
out=$("$1" "$2" --quick 2>&1) || { echo "$out"; echo "measure.sh failed"; exit 1; }
echo "$out"
table=$(sed -n '/^measurement /,$p' <<<"$out")
[ -n "$table" ] || { echo "no summary table"; exit 1; }
grep -q '| scored .*| mhd' <<<"$table" || { echo "a server is missing from the table"; exit 1; }
# No cell is left unmeasured (a first refusal is "-" while nothing was refused), and the load runs
# stored every submission with no errors.
if grep -v '^token flood: first refusal' <<<"$table" | grep -E '\| -[ /]|/-( |/)'; then echo "a measurement is missing"; exit 1; fi
[ "$(grep -c '^load fresh: errors, table check .*| 0/0/ok .*| 0/0/ok' <<<"$table")" -eq 1 ] ||
  { echo "load errors or a table mismatch"; exit 1; }
grep -q '^token flood: held token stored .*| yes .*| yes' <<<"$table" || { echo "the held token was lost"; exit 1; }

#!/usr/bin/env bash
# Measures the score server on PostgreSQL: load over one and over two servers sharing one database on
# a throwaway cluster, fresh connections and kept-alive ones, and checks that the database holds
# exactly one row per acknowledged submission.
#
# Rerun after a build with the benchmarks (VM_BUILD_BENCH=ON):
#   bench/score_service/measure_postgres.sh build-test [PAIRS]     # PAIRS defaults to 10000
# The cluster comes from tests/server/pg_cluster.sh (run as root, it belongs to the user nobody).
set -euo pipefail

[ $# -ge 1 ] || { sed -n '2,8p' "$0" | sed 's/^# \{0,1\}//' >&2; exit 2; }
build=$1
pairs=${2:-10000}
here=$(cd "$(dirname "$0")" && pwd)
cluster=$here/../../tests/server/pg_cluster.sh
load=$build/bench/score_service/scored_load
scored=$build/server/velomarch-scored
[ -x "$load" ] && [ -x "$scored" ] || { echo "measure_postgres.sh: build $build with -DVM_BUILD_BENCH=ON" >&2; exit 1; }
psql=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)/psql

dir=/tmp/velomarch-pg-measure-$$
work=$(mktemp -d /tmp/velomarch-pg-work-XXXXXX)
pids=()
stop_servers() {
  for pid in "${pids[@]}"; do kill -TERM "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  pids=()
}
trap 'stop_servers; "$cluster" stop "$dir"; rm -rf "$work"' EXIT
"$cluster" start "$dir" >/dev/null
sql() { "$psql" -h "$dir" -p 5432 -U velomarch -d postgres -qtA -c "$1"; }

printf '%-34s | %-12s | %-16s | %-16s | %s\n' "run" "submits/s" "submit p50/p99" "pair p50/p99" "rows/acknowledged"
run=0
for instances in 1 2; do
  for way in fresh kept-alive; do
    run=$((run + 1))
    sql "CREATE DATABASE run$run" >/dev/null
    uri="postgresql:///run$run?host=$dir&port=5432&user=velomarch"
    targets=""
    for ((i = 1; i <= instances; i++)); do
      log=$work/run$run.server$i.log
      "$scored" --listen 127.0.0.1:0 --db "$uri" --access-log off --tokens-per-minute 0 --pending-tokens 0 \
        --submissions-per-minute 0 >"$log" 2>&1 &
      pids+=($!)
      port=""
      for _ in $(seq 200); do
        port=$(sed -n 's/.* listening on 127\.0\.0\.1:\([0-9]*\)$/\1/p' "$log" 2>/dev/null || true)
        [ -n "$port" ] && break
        sleep 0.05
      done
      [ -n "$port" ] || { cat "$log" >&2; exit 1; }
      targets+="${targets:+,}127.0.0.1:$port"
    done
    extra=()
    [ "$way" = kept-alive ] && extra=(--keep-alive)
    # With two servers each pair takes its token from one and submits to the other.
    [ "$instances" -gt 1 ] && extra+=(--cross)
    out=$("$load" load --target "$targets" --pairs "$pairs" --clients 8 --sources 16 --seconds 60 "${extra[@]}" |
      grep '^RESULT')
    stop_servers
    value() { sed -n "s/.* $1=\([^ ]*\).*/\1/p" <<<"$out"; }
    rows=$("$psql" -h "$dir" -p 5432 -U velomarch -d "run$run" -qtA -c "SELECT count(*) FROM scores")
    printf '%-34s | %-12s | %-16s | %-16s | %s\n' "$instances server(s), $way connections" \
      "$(value submissions_per_s)" "$(value submit_p50_ms)/$(value submit_p99_ms)" \
      "$(value pair_p50_ms)/$(value pair_p99_ms)" "$rows/$(value stored)"
  done
done

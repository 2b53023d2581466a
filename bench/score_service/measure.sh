#!/usr/bin/env bash
# Measures the score server on loopback: every scored_load scenario against velomarch-scored and, when
# it was built, mhd_probe (the same score service over libmicrohttpd), then one summary table.
#
# Rerun after a build with the benchmarks (VM_BUILD_BENCH=ON):
#   bench/score_service/measure.sh build-test                  # about 5 minutes, both servers
#   bench/score_service/measure.sh build-test --quick          # short runs, to see that it works
# Options:
#   --carriers "scored mhd"  the servers to measure (mhd is left out when mhd_probe was not built)
#   --instances N            servers started per carrier; the load scenario spreads over all of them
#   --db URI                 one database for every server instead of a fresh SQLite file per scenario;
#                            for PostgreSQL start a cluster with tests/server/pg_cluster.sh and pass
#                            its postgresql://... URI (the servers must understand it)
#   --scored-options "..."   more options for velomarch-scored (generous per-address limits, say)
#   --probe-options "..."    more options for mhd_probe (its limits: see mhd_probe --help)
#   --sources N              spread abusers and load clients over N addresses from 127.0.0.2 (default 16)
#   --keep DIR               keep every run's output and server log in DIR
# Each scenario starts fresh servers. The machine's cores are shared, so the numbers are indicative.
set -euo pipefail

usage() {
  sed -n '2,/^set -euo/p' "$0" | sed '$d' | sed 's/^# \{0,1\}//' >&2
  exit 2
}

[ $# -ge 1 ] || usage
build=$1
shift
carriers="scored mhd"
instances=1
db=""
scored_options=""
probe_options=""
sources=16
quick=0
keep=""
while [ $# -gt 0 ]; do
  case "$1" in
    --carriers) carriers=${2:?}; shift 2 ;;
    --instances) instances=${2:?}; shift 2 ;;
    --db) db=${2:?}; shift 2 ;;
    --scored-options) scored_options=${2-}; shift 2 ;;
    --probe-options) probe_options=${2-}; shift 2 ;;
    --sources) sources=${2:?}; shift 2 ;;
    --keep) keep=${2:?}; shift 2 ;;
    --quick) quick=1; shift ;;
    *) echo "measure.sh: unknown argument $1" >&2; usage ;;
  esac
done
[[ "$instances" =~ ^[1-9][0-9]*$ ]] || { echo "measure.sh: --instances wants a whole number from 1" >&2; exit 2; }
[[ "$sources" =~ ^[0-9]+$ ]] || { echo "measure.sh: --sources wants a whole number" >&2; exit 2; }

load=$build/bench/score_service/scored_load
declare -A program=([scored]=$build/server/velomarch-scored [mhd]=$build/bench/score_service/mhd_probe)
declare -A extra=([scored]=$scored_options [mhd]=$probe_options)
# The load and slow-connection scenarios measure the front, not the per-address limits: those are
# turned off for them (the valid clients of the slow scenario would otherwise use up their tokens).
declare -A unlimited=([scored]="--tokens-per-minute 0 --pending-tokens 0 --submissions-per-minute 0"
  [mhd]="--no-limits")
[ -x "$load" ] || { echo "measure.sh: $load is missing: build with -DVM_BUILD_BENCH=ON" >&2; exit 1; }
chosen=()
for carrier in $carriers; do
  if [ -z "${program[$carrier]+set}" ]; then
    echo "measure.sh: unknown carrier $carrier (scored or mhd)" >&2
    exit 2
  elif [ -x "${program[$carrier]}" ]; then
    chosen+=("$carrier")
  else
    echo "measure.sh: ${program[$carrier]} was not built; $carrier is left out" >&2
  fi
done
[ ${#chosen[@]} -gt 0 ] || exit 1

work=$(mktemp -d /tmp/velomarch-measure-XXXXXX)
pids=()
stop_servers() {
  for pid in "${pids[@]}"; do
    kill -TERM "$pid" 2>/dev/null || true
  done
  for pid in "${pids[@]}"; do
    wait "$pid" 2>/dev/null || true
  done
  pids=()
}
finish() {
  stop_servers
  if [ -n "$keep" ]; then
    mkdir -p "$keep" && cp -r "$work"/. "$keep"/
  fi
  rm -rf "$work"
}
trap finish EXIT

# Starts the carrier's servers on free ports with a fresh database (or the --db one), with the
# per-address limits off when LIMITS is "off"; sets targets (ADDR:PORT,...) and first_pid.
start_servers() {
  local carrier=$1 run=$2 limits=$3 i log port options=${extra[$carrier]}
  [ "$limits" = off ] && options+=" ${unlimited[$carrier]}"
  local database=${db:-$work/$carrier-$run.db}
  targets=""
  first_pid=""
  for ((i = 1; i <= instances; i++)); do
    log=$work/$carrier-$run.server$i.log
    # shellcheck disable=SC2086 # the extra options are meant to split into words
    "${program[$carrier]}" --listen 127.0.0.1:0 --db "$database" $options >"$log" 2>&1 &
    pids+=($!)
    [ -n "$first_pid" ] || first_pid=$!
    port=""
    for _ in $(seq 100); do
      port=$(sed -n 's/.* listening on 127\.0\.0\.1:\([0-9]*\)$/\1/p' "$log" 2>/dev/null || true)
      [ -n "$port" ] && break
      kill -0 "${pids[-1]}" 2>/dev/null || break
      sleep 0.05
    done
    if [ -z "$port" ]; then
      echo "measure.sh: $carrier did not start:" >&2
      cat "$log" >&2
      return 1
    fi
    targets+="${targets:+,}127.0.0.1:$port"
  done
}

# Short runs with --quick; the full ones otherwise, each well under a minute.
if [ $quick -eq 1 ]; then
  flood=(--clients 4 --header-mb 1 --seconds 10)
  slow=(--slow 50 --idle 150 --seconds 5)
  tokens=(--tokens 2000 --clients 2 --seconds 10)
  pairs=(--pairs 400 --clients 4 --seconds 10)
  keepalive=(--pairs 200 --seconds 10)
else
  flood=(--clients 16 --header-mb 8 --seconds 30)
  slow=(--slow 500 --idle 1500 --seconds 20)
  tokens=(--tokens 110000 --clients 4 --seconds 50)
  pairs=(--pairs 20000 --clients 8 --seconds 20)
  keepalive=(--pairs 2000 --seconds 20)
fi

declare -A result
# Runs one scenario against fresh servers (limits on or off) and keeps its RESULT values as
# result[carrier.scenario.key].
measure() {
  local carrier=$1 run=$2 limits=$3
  shift 3
  start_servers "$carrier" "$run" "$limits" || return 1
  local args=("$@")
  [ "${args[0]}" = header-flood ] && args+=(--pid "$first_pid")
  echo "== $carrier: ${args[*]}"
  "$load" "${args[@]}" --target "$targets" | tee "$work/$carrier-$run.out" | grep -v '^RESULT' || true
  stop_servers
  local line key value scenario tag
  while read -r line; do
    scenario=""
    tag=""
    for pair in $line; do
      key=${pair%%=*}
      value=${pair#*=}
      case "$key" in
        scenario) scenario=$value ;;
        way) tag=.$value ;;
        client) tag=skip ;;
        *) [ "$tag" = skip ] || result[$carrier.$run$tag.$key]=$value ;;
      esac
    done
  done < <(grep '^RESULT' "$work/$carrier-$run.out" | sed 's/^RESULT //')
}

for carrier in "${chosen[@]}"; do
  measure "$carrier" flood on header-flood "${flood[@]}" --sources "$sources"
  measure "$carrier" slow off slow "${slow[@]}" --sources "$sources"
  measure "$carrier" tokens on token-flood "${tokens[@]}"
  measure "$carrier" load off load "${pairs[@]}" --sources "$sources" --check
  measure "$carrier" loadkept off load "${pairs[@]}" --sources "$sources" --keep-alive
  measure "$carrier" keepalive off keepalive "${keepalive[@]}"
done

# The summary: one row a measurement, one column a carrier.
rows=(
  "header flood: answered/cut/open|flood.answered flood.closed flood.open"
  "header flood: cut-off p50/max ms|flood.cut_p50_ms flood.cut_max_ms"
  "header flood: RSS before/peak/after kB|flood.rss_before_kb flood.rss_peak_kb flood.rss_after_kb"
  "slow+idle: valid p50/p99/max ms|slow.valid_p50_ms slow.valid_p99_ms slow.valid_max_ms"
  "slow+idle: valid ok/failed|slow.valid_ok slow.valid_failed"
  "slow+idle: slow/idle still open|slow.slow_open slow.idle_open"
  "token flood: got/refused|tokens.got tokens.refused"
  "token flood: first refusal|tokens.first_refusal"
  "token flood: held token stored|tokens.holder_stored"
  "load fresh: submissions/s|load.submissions_per_s"
  "load fresh: submit p50/p99 ms|load.submit_p50_ms load.submit_p99_ms"
  "load fresh: pair p50/p99 ms|load.pair_p50_ms load.pair_p99_ms"
  "load fresh: errors, table check|load.version_errors load.submit_errors load.check"
  "load kept-alive: submissions/s|loadkept.submissions_per_s"
  "load kept-alive: submit p50/p99 ms|loadkept.submit_p50_ms loadkept.submit_p99_ms"
  "keepalive fresh: p50/p99 ms|keepalive.fresh.p50_ms keepalive.fresh.p99_ms"
  "keepalive kept: p50/p99 ms, connections|keepalive.kept-alive.p50_ms keepalive.kept-alive.p99_ms keepalive.kept-alive.connections"
)
echo
printf '%-42s' "measurement ($instances instance(s) each)"
for carrier in "${chosen[@]}"; do printf ' | %-24s' "$carrier"; done
echo
for row in "${rows[@]}"; do
  printf '%-42s' "${row%%|*}"
  for carrier in "${chosen[@]}"; do
    cell=""
    for key in ${row#*|}; do
      cell+="${cell:+/}${result[$carrier.$key]:--}"
    done
    printf ' | %-24s' "$cell"
  done
  echo
done

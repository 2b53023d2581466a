#!/usr/bin/env bash
# A throwaway PostgreSQL cluster for the score server tests.
#   pg_cluster.sh start DIR   makes a cluster in DIR and starts it, reachable only by its unix socket
#                             in DIR (port 5432, user velomarch, no password, database postgres)
#   pg_cluster.sh stop DIR    stops it and removes DIR
# PostgreSQL refuses to run as root; run as root, the cluster belongs to the user nobody.
set -euo pipefail

[ $# -eq 2 ] || { echo "usage: $0 start|stop DIR" >&2; exit 2; }
action=$1
dir=$2
bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
if [ -z "$bin" ] || [ ! -x "$bin/initdb" ]; then
  echo "pg_cluster.sh: no PostgreSQL server programs in /usr/lib/postgresql/*/bin (install the postgresql package)" >&2
  exit 1
fi
owner=()
[ "$(id -u)" -eq 0 ] && owner=(runuser -u nobody --)

stop() {
  if [ -f "$dir/data/postmaster.pid" ]; then
    "${owner[@]}" "$bin/pg_ctl" -D "$dir/data" -m fast -w stop >/dev/null 2>&1 ||
      "${owner[@]}" "$bin/pg_ctl" -D "$dir/data" -m immediate -w stop >/dev/null 2>&1 || true
  fi
  rm -rf "$dir"
}

case $action in
  start)
    stop # what a killed run left behind
    mkdir -p "$dir"
    chmod 755 "$dir"
    [ ${#owner[@]} -gt 0 ] && chown nobody "$dir"
    if ! "${owner[@]}" "$bin/initdb" -D "$dir/data" -U velomarch --auth=trust -E UTF8 --no-locale \
         >"$dir/initdb.log" 2>&1; then
      cat "$dir/initdb.log" >&2
      exit 1
    fi
    if ! "${owner[@]}" "$bin/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 \
         -o "-k $dir -c listen_addresses= -p 5432 -c max_connections=200" start >/dev/null; then
      cat "$dir/server.log" >&2
      exit 1
    fi
    echo "PostgreSQL test cluster running: postgresql:///postgres?host=$dir&port=5432&user=velomarch"
    ;;
  stop)
    stop
    ;;
  *)
    echo "usage: $0 start|stop DIR" >&2
    exit 2
    ;;
esac

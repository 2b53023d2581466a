#!/usr/bin/env bash
# Two velomarch-scored servers on one PostgreSQL database behind nginx, configured by the example the
# package ships: scores sent through the proxy are stored once each, both servers answer, and each
# server sees the client's own address (X-Forwarded-For from a trusted proxy), not the proxy's.
#   proxy_test.sh SCORED_BIN EXAMPLE_CONF LINE_CODEC_H   (VM_TEST_POSTGRES_URI names the test cluster)
set -euo pipefail

scored=$1
example=$2
codec=$3
[ -n "${VM_TEST_POSTGRES_URI:-}" ] || { echo "proxy_test.sh: run through ctest, which starts the cluster" >&2; exit 1; }
command -v nginx >/dev/null || { echo "proxy_test.sh: nginx is missing (velomarch.sh test installs it)" >&2; exit 1; }
psql=$(ls -d /usr/lib/postgresql/*/bin | sort -V | tail -n 1)/psql
work=$(mktemp -d /tmp/velomarch-proxy-XXXXXX)
chmod 755 "$work"
pids=()
cleanup() {
  [ -f "$work/nginx.pid" ] && kill "$(cat "$work/nginx.pid")" 2>/dev/null || true
  for pid in "${pids[@]}"; do kill -TERM "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "proxy_test.sh: $*" >&2; for f in "$work"/*.log; do echo "== $f" >&2; cat "$f" >&2; done; exit 1; }

database=proxy_$$
"$psql" "$VM_TEST_POSTGRES_URI" -qtA -c "CREATE DATABASE $database" >/dev/null
uri=${VM_TEST_POSTGRES_URI/\/postgres\?//$database?}

ports=()
for name in a b; do
  "$scored" --listen 127.0.0.1:0 --db "$uri" --trusted-proxy 127.0.0.1 >"$work/$name.out" 2>"$work/$name.log" &
  pids+=($!)
  port=""
  for _ in $(seq 200); do
    # The file may not exist yet: the background shell makes it when it gets to run.
    port=$(sed -n 's/.* listening on 127\.0\.0\.1:\([0-9]*\)$/\1/p' "$work/$name.out" 2>/dev/null || true)
    [ -n "$port" ] && break
    sleep 0.05
  done
  [ -n "$port" ] || fail "server $name did not start"
  ports+=("$port")
done
proxy=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')

# The example as shipped, with this run's ports, inside the least nginx needs around it.
sed -e "s/127\.0\.0\.1:8091/127.0.0.1:${ports[0]}/" -e "s/127\.0\.0\.1:8092/127.0.0.1:${ports[1]}/" \
  -e "s/listen 8080;/listen 127.0.0.1:$proxy;/" "$example" >"$work/site.conf"
{
  [ "$(id -u)" -eq 0 ] && echo "user root;"
  echo "pid $work/nginx.pid; error_log $work/nginx-error.log; worker_processes 1;"
  echo "events { worker_connections 64; }"
  echo "http { access_log off; client_body_temp_path $work; proxy_temp_path $work; include $work/site.conf; }"
} >"$work/nginx.conf"
nginx -p "$work" -c "$work/nginx.conf" -t >"$work/nginx-check.log" 2>&1 || fail "nginx refuses the example"
nginx -p "$work" -c "$work/nginx.conf" || fail "nginx did not start"

url=http://127.0.0.1:$proxy/cgi/version.pl
# The game's score text for NAME and TOKEN in the game's line encoding: five bits a symbol of the
# alphabet in line_codec.h, i.e. base32 with that alphabet (the text is padded to whole groups).
alphabet=$(sed -n 's/.*LineAlphabet = "\([^"]*\)".*/\1/p' "$codec")
[ ${#alphabet} -eq 32 ] || fail "cannot read the line alphabet from $codec"
encode() {
  python3 - "$1" "$2" "$alphabet" <<'PY'
import base64, sys
text = "type=0|name=%s|score=50|key=V|p=%s|add=|z=" % (sys.argv[1], sys.argv[2])
text += "0" * ((5 - len(text) % 5) % 5)
standard = "ABCDEFGHIJKLMNOPQRSTUVWXYZ234567"
print(base64.b32encode(text.encode()).decode().translate(str.maketrans(standard, sys.argv[3])))
PY
}
for i in 1 2 3 4 5 6; do
  reply=$(curl -sS --interface 127.0.0.7 "$url?version&prg=Velomarch") || fail "no version reply through the proxy"
  token=$(cut -d'|' -f5 <<<"$reply")
  [ ${#token} -eq 16 ] || fail "no token in \"$reply\""
  inf=$(encode "Proxied$i" "$token")
  sent=$(curl -sS --interface 127.0.0.7 "$url?hs&prg=Velomarch&inf=$inf") || fail "no submission reply"
  [ "$sent" = OK ] || fail "submission $i answered \"$sent\""
done
[ "$(curl -sS "http://127.0.0.1:$proxy/healthz")" = OK ] || fail "/healthz through the proxy is not OK"

rows=$("$psql" "$uri" -qtA -c "SELECT count(*) FROM scores WHERE client = '127.0.0.7'")
[ "$rows" = 6 ] || fail "$rows rows stored for 127.0.0.7, not 6"
for name in a b; do
  grep -q 'client=127\.0\.0\.7 method=GET path=/cgi/version\.pl status=200' "$work/$name.log" ||
    fail "server $name served no request of 127.0.0.7"
done
echo "proxy_test.sh: 6 scores through nginx, both servers answered, client address kept"

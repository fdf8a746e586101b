#!/usr/bin/env bash
# Two processes × 500 additions on one SQLite library and on one throwaway PostgreSQL database
# (loopback only, removed on exit). Port: TQWALL_TEST_PG_PORT.
set -euo pipefail

build_dir=$(cd "${1:-build-test}" && pwd)
probe="$build_dir/bin/tqwall_probe"
folder=$(mktemp -d /tmp/tqwall-probe.XXXXXX)
chmod 755 "$folder"
port=${TQWALL_TEST_PG_PORT:-55433}
bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
as_server() {
    if [ "$(id -u)" -eq 0 ]; then runuser -u postgres -- "$@"; else "$@"; fi
}
stop() {
    [ -n "$bin" ] && as_server "$bin/pg_ctl" -D "$folder/data" -m immediate stop >/dev/null 2>&1 || true
    rm -rf "$folder"
}
trap stop EXIT

echo "SQLite:"
"$probe" "$folder/library.sqlite"

echo "PostgreSQL:"
[ "$(id -u)" -eq 0 ] && chown postgres "$folder"
as_server "$bin/initdb" -D "$folder/data" -A trust -U postgres -E UTF8 --locale=C.UTF-8 >/dev/null
as_server "$bin/pg_ctl" -D "$folder/data" -l "$folder/server.log" -w \
    -o "-k $folder -p $port -c listen_addresses=127.0.0.1 -c fsync=off" start >/dev/null
as_server "$bin/createdb" -h 127.0.0.1 -p "$port" -U postgres tqwall_probe
"$probe" "127.0.0.1:$port:tqwall_probe:postgres"

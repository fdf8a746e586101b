#!/usr/bin/env bash
# Times the library's actions on a generated library of 10,000 constructions, on SQLite and on a
# throwaway PostgreSQL server that lives in a temporary folder, listens on loopback only and is
# stopped and removed on exit. TQWALL_BENCH_PG_PORT chooses its port.
set -euo pipefail

build_dir=$(cd "${1:-build-bench}" && pwd)
port=${TQWALL_BENCH_PG_PORT:-55434}
bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
if [ -z "$bin" ]; then
    echo "PostgreSQL server not installed (scripts/install-deps.sh installs it)" >&2
    exit 1
fi

folder=$(mktemp -d /tmp/tqwall-bench-pg.XXXXXX)
chmod 755 "$folder"
# initdb refuses to run as root: as root the server runs as the postgres user.
as_server() {
    if [ "$(id -u)" -eq 0 ]; then
        runuser -u postgres -- "$@"
    else
        "$@"
    fi
}
[ "$(id -u)" -eq 0 ] && chown postgres "$folder"

stop() {
    as_server "$bin/pg_ctl" -D "$folder/data" -m immediate stop >/dev/null 2>&1 || true
    rm -rf "$folder"
}
trap stop EXIT

as_server "$bin/initdb" -D "$folder/data" -A trust -U postgres -E UTF8 --locale=C.UTF-8 >/dev/null
as_server "$bin/pg_ctl" -D "$folder/data" -l "$folder/server.log" -w \
    -o "-k $folder -p $port -c listen_addresses=127.0.0.1 -c fsync=off" start >/dev/null
as_server "$bin/createdb" -h 127.0.0.1 -p "$port" -U postgres tqwall_bench

# Then once more behind a proxy that delays every round trip by each of TQWALL_BENCH_DELAYS ms.
TQWALL_BENCH_PSQL="127.0.0.1:$port:tqwall_bench:postgres" \
    TQWALL_BENCH_PROXY="$(cd "$(dirname "$0")" && pwd)/delay-proxy.py" TQWALL_BENCH_DELAYS="${TQWALL_BENCH_DELAYS-2 10}" \
    "$build_dir/bin/tqwall_library_bench"

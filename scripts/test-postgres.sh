#!/usr/bin/env bash
# Runs the built test suite a second time on a throwaway PostgreSQL server, so every library
# statement is shown to give the same rows on PostgreSQL as on SQLite. The server lives in a
# temporary folder, listens on loopback only and is stopped and removed on exit.
set -euo pipefail

build_dir=$(cd "${1:-build-test}" && pwd)
port=${TQWALL_TEST_PG_PORT:-55433}
bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
if [ -z "$bin" ]; then
    echo "PostgreSQL server not installed (scripts/install-deps.sh installs it)" >&2
    exit 1
fi

folder=$(mktemp -d /tmp/tqwall-pg.XXXXXX)
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
# The tests connect as postgres without a password; the roles a test makes for itself log in with
# theirs, so a connection through a password file is shown to take the password from it.
cat > "$folder/data/pg_hba.conf" <<'HBA'
local all all trust
host all postgres 127.0.0.1/32 trust
host all all 127.0.0.1/32 scram-sha-256
HBA
as_server "$bin/pg_ctl" -D "$folder/data" -l "$folder/server.log" -w \
    -o "-k $folder -p $port -c listen_addresses=127.0.0.1 -c fsync=off" start >/dev/null
as_server "$bin/createdb" -h 127.0.0.1 -p "$port" -U postgres tqwall_test

cd "$build_dir"
# One test at a time: every test drops and makes the library tables of the one database.
TQWALL_TEST_PSQL="127.0.0.1:$port:tqwall_test:postgres" ctest --output-on-failure -j 1 -E "^InstalledPackage\."

#!/usr/bin/env bash
# A PostgreSQL cluster of its own for the tests, in a temporary folder, listening on 127.0.0.1
# only, run as an unprivileged user (the `postgres` user of Debian's package when started as root).
#
#   tools/pg-test-cluster.sh start DIR    makes and starts the cluster in DIR (new or empty) and
#                                         prints its URL (postgresql://...)
#   tools/pg-test-cluster.sh stop DIR     stops it and removes DIR
set -euo pipefail

mode=${1:-}
dir=${2:-}
if [ -z "$dir" ] || { [ "$mode" != start ] && [ "$mode" != stop ]; }; then
    echo "usage: tools/pg-test-cluster.sh start|stop DIR" >&2
    exit 2
fi
bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -1)
if [ -z "$bin" ]; then
    echo "pg-test-cluster.sh: PostgreSQL is not installed (Debian's postgresql package)" >&2
    exit 1
fi
# PostgreSQL refuses to run as root.
as_owner() {
    if [ "$(id -u)" = 0 ]; then
        runuser -u postgres -- "$@"
    else
        "$@"
    fi
}

case "$mode" in
start)
    mkdir -p "$dir"
    [ "$(id -u)" = 0 ] && chown postgres: "$dir"
    port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
    as_owner "$bin/initdb" -D "$dir/data" -U postgres -A trust -E UTF8 --no-locale >"$dir/initdb.log" 2>&1 ||
        { cat "$dir/initdb.log" >&2; exit 1; }
    as_owner "$bin/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 \
        -o "-c listen_addresses=127.0.0.1 -p $port -k $dir -c fsync=off -c max_connections=200" start >/dev/null ||
        { cat "$dir/server.log" >&2; exit 1; }
    as_owner "$bin/createdb" -h 127.0.0.1 -p "$port" -U postgres vorkalith_test
    echo "postgresql://postgres@127.0.0.1:$port/vorkalith_test"
    ;;
stop)
    if [ -d "$dir/data" ]; then
        as_owner "$bin/pg_ctl" -D "$dir/data" -m immediate -w stop >/dev/null 2>&1 || true
    fi
    rm -rf "$dir"
    ;;
esac

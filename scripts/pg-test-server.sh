#!/usr/bin/env bash
# A throw-away PostgreSQL server for the tests, reached over a Unix socket in
# its own temporary folder.
#
#   scripts/pg-test-server.sh start        prints the export lines for the tests
#   scripts/pg-test-server.sh stop DIR     stops the server and removes DIR
#   scripts/pg-test-server.sh pause DIR    stops the server, keeps its data
#   scripts/pg-test-server.sh resume DIR   starts it again on the same socket
#
# The server runs as an unprivileged user (PostgreSQL refuses to run as root):
# as the caller when that is not root, else as the system user tavoru-pg,
# created when missing. Where Debian's server binaries are absent, start
# prints nothing on stdout and one line on stderr.
set -euo pipefail

bindir() {
    local d
    d=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1 || true)
    [ -n "$d" ] && [ -x "$d/initdb" ] && [ -x "$d/pg_ctl" ] && echo "$d"
}

server_user() {
    if [ "$(id -u)" -ne 0 ]; then
        id -un
        return
    fi
    if ! id -u tavoru-pg >/dev/null 2>&1; then
        useradd --system --no-create-home --home-dir /nonexistent \
            --shell /usr/sbin/nologin tavoru-pg >/dev/null 2>&1 || true
    fi
    if id -u tavoru-pg >/dev/null 2>&1; then echo tavoru-pg; else echo nobody; fi
}

as_user() {
    local user=$1
    shift
    if [ "$(id -u)" -eq 0 ] && [ "$user" != root ]; then
        runuser -u "$user" -- "$@"
    else
        "$@"
    fi
}

pg_start() {
    local dir=$1
    # shellcheck disable=SC1091
    . "$dir/server.env"
    as_user "$SERVER_USER" "$BIN/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 \
        -o "-c listen_addresses='' -k $dir -p $PORT ${SPEED:-}" start >/dev/null
}

pg_stop() {
    local dir=$1
    # shellcheck disable=SC1091
    . "$dir/server.env"
    as_user "$SERVER_USER" "$BIN/pg_ctl" -D "$dir/data" -w -t 60 -m fast stop >/dev/null 2>&1 || true
}

case "${1:-}" in
start)
    BIN=$(bindir || true)
    if [ -z "$BIN" ]; then
        echo "PostgreSQL server binaries not found (Debian package postgresql): PostgreSQL tests skipped." >&2
        exit 0
    fi
    SERVER_USER=$(server_user)
    dir=$(mktemp -d /tmp/tavoru-pg.XXXXXX)
    chmod 755 "$dir"
    chown "$SERVER_USER" "$dir"
    PORT=$((50000 + RANDOM % 10000))
    # Tests need no crash safety; a benchmark of durable commits does
    # (TAVORU_PG_DURABLE=1).
    SPEED="-c fsync=off -c synchronous_commit=off"
    [ -n "${TAVORU_PG_DURABLE:-}" ] && SPEED=""
    printf 'BIN=%q\nSERVER_USER=%q\nPORT=%q\nSPEED=%q\n' "$BIN" "$SERVER_USER" "$PORT" "$SPEED" \
        >"$dir/server.env"
    as_user "$SERVER_USER" "$BIN/initdb" -D "$dir/data" -U tavoru -A trust -E UTF8 \
        --locale=C >"$dir/initdb.log" 2>&1
    pg_start "$dir"
    "$BIN/psql" -h "$dir" -p "$PORT" -U tavoru -d postgres -q -v ON_ERROR_STOP=1 \
        -c "CREATE DATABASE tavoru_test" >/dev/null
    echo "export TAVORU_PG_DIR='$dir'"
    echo "export TAVORU_PG='Driver=QPSQL;Host=$dir;Port=$PORT;User=tavoru;Database='"
    echo "export TAVORU_PG_DB='tavoru_test'"
    echo "export TAVORU_PG_SERVER='$(cd "$(dirname "$0")" && pwd)/pg-test-server.sh'"
    ;;
stop)
    dir=${2:?folder}
    [ -f "$dir/server.env" ] || exit 0
    pg_stop "$dir"
    rm -rf "$dir"
    ;;
pause)
    pg_stop "${2:?folder}"
    ;;
resume)
    pg_start "${2:?folder}"
    ;;
*)
    echo "usage: $0 start | stop DIR | pause DIR | resume DIR" >&2
    exit 2
    ;;
esac

#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test suite headless. Where
# Debian's PostgreSQL server is installed the store suites also run against a
# throw-away server that lives as long as this script; so do the receipt
# printer tests against a throw-away CUPS server.
set -euo pipefail
cd "$(dirname "$0")"
root=$(pwd)
scripts/deps.sh
scripts/build.sh
cleanup() {
    [ -z "${TAVORU_PG_DIR:-}" ] || "$root/scripts/pg-test-server.sh" stop "$TAVORU_PG_DIR"
    [ -z "${TAVORU_CUPS_DIR:-}" ] || "$root/scripts/cups-test-server.sh" stop "$TAVORU_CUPS_DIR"
}
trap cleanup EXIT
if pg_env=$(scripts/pg-test-server.sh start); then
    [ -z "$pg_env" ] || eval "$pg_env"
else
    echo "The PostgreSQL test server did not start: PostgreSQL tests skipped." >&2
fi
# The receipt printer tests print to a raw queue of a throw-away CUPS server.
if cups_env=$(scripts/cups-test-server.sh start); then
    [ -z "$cups_env" ] || eval "$cups_env"
else
    echo "The CUPS test server did not start: CUPS printer tests skipped." >&2
fi
cd build
QT_QPA_PLATFORM=offscreen ctest --output-on-failure --timeout 300

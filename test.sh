#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test suite headless. Where
# Debian's PostgreSQL server is installed the store suites also run against a
# throw-away server that lives as long as this script.
set -euo pipefail
cd "$(dirname "$0")"
root=$(pwd)
scripts/deps.sh
scripts/build.sh
if pg_env=$(scripts/pg-test-server.sh start); then
    if [ -n "$pg_env" ]; then
        eval "$pg_env"
        trap '"$root/scripts/pg-test-server.sh" stop "$TAVORU_PG_DIR"' EXIT
    fi
else
    echo "The PostgreSQL test server did not start: PostgreSQL tests skipped." >&2
fi
cd build
QT_QPA_PLATFORM=offscreen ctest --output-on-failure --timeout 300

#!/usr/bin/env bash
# Builds proTavoruh and opens it on the shop's SQLite database.
# The database lives outside the build folder (default
# ~/.local/share/proTavoruh/tavoru.db, or $TAVORU_DB), so rebuilding or
# deleting build/ never loses it. A missing database is created from
# db/sqlite/schema.sql and a missing build/cfg.cae is written to point at it.
set -euo pipefail
cd "$(dirname "$0")"
scripts/deps.sh
scripts/build.sh

db="${TAVORU_DB:-${XDG_DATA_HOME:-$HOME/.local/share}/proTavoruh/tavoru.db}"
if [ ! -f "$db" ]; then
    mkdir -p "$(dirname "$db")"
    sqlite3 "$db" < db/sqlite/schema.sql
    echo "Created a new database: $db"
fi
if [ ! -f build/cfg.cae ]; then
    printf 'provider=:Driver=QSQLITE;Database=\nfiledata=:%s\nlistpage=:10\n' "$db" > build/cfg.cae
    echo "Wrote build/cfg.cae"
fi
# The program runs under Indonesian regional settings only.
export LANG=id_ID.UTF-8 LC_ALL=id_ID.UTF-8
exec build/proTavoruh

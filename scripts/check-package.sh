#!/usr/bin/env bash
# Checks a built Debian package of proTavoruh without installing it:
# its control data and file list, lintian (when installed), and a start of the
# unpacked program against a database made by the package's own setup-data,
# up to the login window. Under Xvfb with xdotool the login window itself is
# looked for; otherwise the program must still run offscreen with the
# database open.
#
#   scripts/check-package.sh [protavoruh_<version>_<arch>.deb]
#                            (default: the newest in the top folder)
set -euo pipefail
cd "$(dirname "$0")/.."
deb=${1:-$(ls -t protavoruh_*.deb 2>/dev/null | head -n 1)}
[ -n "$deb" ] && [ -f "$deb" ] || { echo "No package; build one with scripts/package.sh" >&2; exit 2; }

failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
pass() { echo "ok:   $*"; }

work=$(mktemp -d)
pid=""
cleanup() {
    [ -z "$pid" ] || kill "$pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# Control data: maintainer scripts, conffile, dependencies.
dpkg-deb -e "$deb" "$work/control"
for f in postinst postrm conffiles; do
    [ -f "$work/control/$f" ] && pass "control file $f" || fail "control file $f missing"
done
grep -qx /etc/protavoruh/cfg.cae "$work/control/conffiles" \
    && pass "cfg.cae is a conffile" || fail "cfg.cae is not a conffile"
depends=$(dpkg-deb -f "$deb" Depends)
for p in libqt6widgets6 libqt6sql6 libqt6sql6-sqlite libqt6printsupport6 libqt6gui6 sqlite3 locales adduser; do
    grep -qE "(^|, )$p( |,|$)" <<<"$depends" && pass "depends on $p" || fail "no dependency on $p"
done

# File list.
dpkg-deb -c "$deb" | awk '{print $6 $7 $8}' > "$work/files"
for f in ./usr/lib/protavoruh/proTavoruh ./usr/lib/protavoruh/setup-data ./usr/bin/protavoruh \
         ./etc/protavoruh/cfg.cae './usr/lib/protavoruh/cfg.cae->/etc/protavoruh/cfg.cae' \
         ./usr/share/protavoruh/schema.sql ./usr/share/applications/protavoruh.desktop \
         ./usr/share/icons/hicolor/256x256/apps/protavoruh.png \
         ./usr/share/icons/hicolor/64x64/apps/protavoruh.png \
         ./usr/share/doc/protavoruh/copyright ./usr/share/doc/protavoruh/changelog.gz; do
    grep -qxF "$f" "$work/files" && pass "holds $f" || fail "does not hold $f"
done
[ "$(dpkg-deb -c "$deb" | awk '$6 == "./etc/protavoruh/cfg.cae" {print $1}')" = "-rw-r-----" ] \
    && pass "cfg.cae readable by root and the group only" || fail "cfg.cae mode"
grep -q 'chown root:"$group" /etc/protavoruh/cfg.cae' "$work/control/postinst" \
    && pass "postinst gives cfg.cae to the group" || fail "postinst leaves cfg.cae to root"
if grep -q '^./var/' "$work/files"; then fail "ships files under /var (the data is never shipped)"; fi

if command -v lintian >/dev/null; then
    if lintian --fail-on error "$deb" > "$work/lintian" 2>&1; then
        pass "lintian: no error"
    else
        cat "$work/lintian" >&2
        fail "lintian reports errors"
    fi
else
    echo "skip: lintian is not installed"
fi
if command -v desktop-file-validate >/dev/null; then
    dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/share/applications/protavoruh.desktop \
        > "$work/protavoruh.desktop"
    desktop-file-validate "$work/protavoruh.desktop" && pass "desktop entry is valid" \
        || fail "desktop entry is not valid"
fi

# Unpacked into a temporary root: the data is made by the package's own
# setup-data, and cfg.cae beside the program points into that root.
root=$work/root
dpkg-deb -x "$deb" "$root"
data=$root/var/lib/protavoruh
"$root/usr/lib/protavoruh/setup-data" "$data" "$root/usr/share/protavoruh/schema.sql" > /dev/null
[ -f "$data/tavoru.db" ] && [ -d "$data/backup" ] && pass "setup-data made the database" \
    || fail "setup-data made no database"
[ "$(stat -c %a "$data")" = 2770 ] && [ "$(stat -c %a "$data/backup")" = 2770 ] \
    && [ "$(stat -c %a "$data/tavoru.db")" = 660 ] \
    && pass "data folder setgid, the group's only" || fail "data folder permissions"
cp "$data/tavoru.db" "$work/first.db"
"$root/usr/lib/protavoruh/setup-data" "$data" "$root/usr/share/protavoruh/schema.sql" > /dev/null
cmp -s "$data/tavoru.db" "$work/first.db" && pass "setup-data keeps an existing database" \
    || fail "setup-data changed an existing database"
rm "$root/usr/lib/protavoruh/cfg.cae"
sed "s#/var/lib/protavoruh#$data#" "$root/etc/protavoruh/cfg.cae" > "$root/usr/lib/protavoruh/cfg.cae"
sed "s#/usr/lib/protavoruh#$root/usr/lib/protavoruh#g" "$root/usr/bin/protavoruh" > "$work/launcher"
chmod 755 "$work/launcher"

# The launcher must bring the Indonesian settings even from an English desktop.
english=(env LANG=en_US.UTF-8 LC_ALL=en_US.UTF-8)
log=$work/run.log
if command -v xvfb-run >/dev/null && command -v xdotool >/dev/null; then
    if xvfb-run -a bash -c '
        "${@:3}" "$1" > "$2" 2>&1 &
        p=$!
        for i in $(seq 1 60); do
            if xdotool search --name "^Login$" > /dev/null 2>&1; then kill $p; exit 0; fi
            kill -0 $p 2> /dev/null || exit 1
            sleep 0.5
        done
        kill $p; exit 1' _ "$work/launcher" "$log" "${english[@]}"; then
        pass "the unpacked program reaches the login window (Xvfb)"
    else
        cat "$log" >&2
        fail "the unpacked program shows no login window"
    fi
else
    "${english[@]}" QT_QPA_PLATFORM=offscreen "$work/launcher" > "$log" 2>&1 &
    pid=$!
    sleep 5
    if kill -0 "$pid" 2> /dev/null && [ -e "$data/tavoru.db-wal" ]; then
        pass "the unpacked program runs offscreen with the database open"
    else
        cat "$log" >&2
        fail "the unpacked program stopped or did not open the database"
    fi
fi

if [ "$failures" -gt 0 ]; then
    echo "$failures check(s) failed" >&2
    exit 1
fi
echo "All package checks passed: $deb"

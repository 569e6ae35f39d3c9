#!/usr/bin/env bash
# A throw-away CUPS server for the tests, reached over a Unix socket in its own
# temporary folder (CUPS_SERVER), where anyone may add a queue.
#
#   scripts/cups-test-server.sh start       prints the export lines for the tests
#   scripts/cups-test-server.sh stop DIR    stops the server and removes DIR
#
# A test adds its raw queue with lpadmin, its device a socket:// listener of its
# own (a raw queue on a file: device prints nothing: no filter runs and no
# backend writes the file). Where Debian's cupsd or lpadmin is absent, start
# prints nothing on stdout and one line on stderr.
set -euo pipefail

case "${1:-}" in
start)
    cupsd=$(command -v cupsd || ls /usr/sbin/cupsd 2>/dev/null || true)
    lpadmin=$(command -v lpadmin || ls /usr/sbin/lpadmin 2>/dev/null || true)
    if [ -z "$cupsd" ] || [ -z "$lpadmin" ] || ! command -v lp >/dev/null; then
        echo "CUPS not found (Debian package cups): CUPS printer tests skipped." >&2
        exit 0
    fi
    dir=$(mktemp -d /tmp/tavoru-cups.XXXXXX)
    chmod 755 "$dir"
    mkdir -p "$dir/etc/ppd" "$dir/etc/ssl" "$dir/spool/tmp" "$dir/cache" "$dir/state" "$dir/log"
    chmod 700 "$dir/spool"
    user=$(id -un)
    group=$(id -gn)
    cat >"$dir/etc/cups-files.conf" <<CONF
ServerRoot $dir/etc
ServerBin /usr/lib/cups
DataDir /usr/share/cups
RequestRoot $dir/spool
TempDir $dir/spool/tmp
CacheDir $dir/cache
StateDir $dir/state
ErrorLog $dir/log/error_log
AccessLog $dir/log/access_log
PageLog $dir/log/page_log
SystemGroup $group
CONF
    [ "$(id -u)" -eq 0 ] && echo "User lp" >>"$dir/etc/cups-files.conf"
    cat >"$dir/etc/cupsd.conf" <<CONF
Listen $dir/cups.sock
LogLevel warn
Browsing No
WebInterface No
DefaultAuthType None
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
CONF
    setsid "$cupsd" -f -c "$dir/etc/cupsd.conf" -s "$dir/etc/cups-files.conf" \
        >"$dir/log/cupsd.out" 2>&1 </dev/null &
    echo $! >"$dir/cupsd.pid"
    for _ in $(seq 50); do
        [ -S "$dir/cups.sock" ] && break
        sleep 0.1
    done
    if ! CUPS_SERVER="$dir/cups.sock" lpstat -r >/dev/null 2>&1; then
        echo "The CUPS test server did not start ($(tail -n 3 "$dir/log/cupsd.out" "$dir/log/error_log" 2>/dev/null)): CUPS printer tests skipped." >&2
        "$0" stop "$dir"
        exit 0
    fi
    echo "export TAVORU_CUPS_DIR='$dir'"
    echo "export CUPS_SERVER='$dir/cups.sock'"
    echo "export TAVORU_LPADMIN='$lpadmin'"
    ;;
stop)
    dir=${2:?folder}
    [ -f "$dir/cupsd.pid" ] || exit 0
    pid=$(cat "$dir/cupsd.pid")
    kill "$pid" 2>/dev/null || true
    for _ in $(seq 50); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    rm -rf "$dir"
    ;;
*)
    echo "usage: $0 start | stop DIR" >&2
    exit 2
    ;;
esac

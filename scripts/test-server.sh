#!/usr/bin/env bash
# A Firebird server on loopback for the one test that needs password checking (embedded Firebird does not
# check passwords). `start` leaves it running and writes its SYSDBA password where the test finds it.
set -euo pipefail
cmd=${1:-start}
conf=/etc/firebird/3.0
pidfile=/tmp/selvanto-test-server.pid
case "$cmd" in
  start)
    if [ ! -x /usr/sbin/firebird ] || [ ! -r "$conf/SYSDBA.password" ]; then
      echo "test-server: firebird3.0-server is not installed; the password test will be skipped" >&2
      exit 0
    fi
    if [ -f "$pidfile" ] && kill -0 "$(cat "$pidfile")" 2>/dev/null; then exit 0; fi
    # The server reads databases as its own user; test databases live in a folder it may use.
    mkdir -p /tmp/selvanto-server-db && chmod 1777 /tmp/selvanto-server-db
    if pgrep -x firebird >/dev/null; then pgrep -x firebird | head -n1 > "$pidfile"; exit 0; fi
    runuser="firebird"; id "$runuser" >/dev/null 2>&1 || runuser=root
    if [ "$runuser" = root ]; then /usr/sbin/firebird & echo $! > "$pidfile"
    else su -s /bin/sh "$runuser" -c '/usr/sbin/firebird >/dev/null 2>&1 & echo $!' > "$pidfile"; fi
    for _ in $(seq 1 50); do
      (exec 3<>/dev/tcp/127.0.0.1/3050) 2>/dev/null && exit 0
      sleep 0.2
    done
    echo "test-server: the server did not start listening on 3050" >&2
    ;;
  stop)
    if [ -f "$pidfile" ]; then kill "$(cat "$pidfile")" 2>/dev/null || true; rm -f "$pidfile"; fi
    ;;
esac

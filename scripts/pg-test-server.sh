#!/usr/bin/env bash
# A throwaway PostgreSQL server for the property database, in a folder of its
# own (no system service, nothing under /etc):
#
#   scripts/pg-test-server.sh start DIR   create the cluster in DIR (first time),
#                                         start it on a free local port, create the
#                                         reference database "ipr" and the login
#                                         role, register the ODBC driver in DIR
#   scripts/pg-test-server.sh stop DIR    stop the server (the folder stays)
#   scripts/pg-test-server.sh status DIR  say whether it runs
#
# After "start", DIR/server.env holds the settings as shell assignments:
# ZELKA_PG_HOST, ZELKA_PG_PORT, ZELKA_PG_DATABASE, ZELKA_PG_USER,
# ZELKA_PG_PASSWORD, ODBCSYSINI and ODBCINI (the driver is registered in
# DIR/odbc/odbcinst.ini as "PostgreSQL Unicode").
#
# PostgreSQL never runs as root: run as root, the server runs as the user
# "postgres" (or "nobody" where there is none), and the folder is handed to it.
set -euo pipefail

usage() { echo "usage: $0 start|stop|status DIR" >&2; exit 2; }
[ $# -eq 2 ] || usage
action="$1"
dir="$(mkdir -p "$2" && cd "$2" && pwd)"
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

pgbin=""
for candidate in /usr/lib/postgresql/*/bin; do
  [ -x "$candidate/initdb" ] && pgbin="$candidate"
done
if [ -z "$pgbin" ]; then
  echo "PostgreSQL is not installed (no initdb under /usr/lib/postgresql); install the package postgresql" >&2
  exit 3
fi

data="$dir/data"
sock="$dir/socket"
logfile="$dir/server.log"

runas=()
if [ "$(id -u)" -eq 0 ]; then
  runuser_name=postgres
  getent passwd postgres > /dev/null || runuser_name=nobody
  runas=(runuser -u "$runuser_name" --)
fi

as_server() { "${runas[@]}" "$@"; }

running() { [ -f "$data/postmaster.pid" ] && as_server "$pgbin/pg_ctl" -D "$data" status > /dev/null 2>&1; }

free_port() {
  /usr/bin/python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}

psql_admin() {
  as_server "$pgbin/psql" -X -q -v ON_ERROR_STOP=1 -h "$sock" -p "$port" -U zelka_admin "$@"
}

case "$action" in
  start)
    if [ ! -f "$data/PG_VERSION" ]; then
      mkdir -p "$data" "$sock"
      if [ ${#runas[@]} -gt 0 ]; then
        chown -R "${runas[2]}" "$dir"
        # The server user must reach the folder through every parent.
        p="$dir"
        while [ "$p" != "/" ]; do
          p="$(dirname "$p")"
          chmod o+x "$p" 2> /dev/null || true
        done
      fi
      as_server "$pgbin/initdb" -D "$data" -U zelka_admin --auth-local=trust --auth-host=scram-sha-256 \
        -E UTF8 --locale=C.UTF-8 > "$dir/initdb.log" 2>&1 || {
        echo "initdb failed; see $dir/initdb.log" >&2
        exit 4
      }
    fi
    if running; then
      # shellcheck disable=SC1091
      . "$dir/server.env"
      echo "PostgreSQL already runs in $dir on port $ZELKA_PG_PORT"
      exit 0
    fi
    port="$(free_port)"
    as_server "$pgbin/pg_ctl" -D "$data" -l "$logfile" -w -t 60 \
      -o "-p $port -k $sock -c listen_addresses=127.0.0.1 -c fsync=off -c synchronous_commit=off -c full_page_writes=off" \
      start > /dev/null || {
      echo "PostgreSQL did not start; see $logfile" >&2
      exit 5
    }
    password="zelka;pw}{x"
    # Every start gives fresh databases built from database/sql/*.sql, so a
    # run never sees what an earlier run left behind.
    export PGOPTIONS="-c client_min_messages=warning"
    psql_admin -d postgres -c "drop database if exists ipr" -c "drop database if exists \"docMon\""
    if [ "$(psql_admin -d postgres -tA -c "select count(*) from pg_roles where rolname='zelka'")" = "0" ]; then
      # The login role's password holds ';', '{' and '}' on purpose: the
      # connection string must quote it to carry it whole.
      psql_admin -d postgres -c "create role zelka login password '$password'"
    fi
    psql_admin -d postgres -c "create database ipr owner zelka" -c "create database \"docMon\" owner zelka"
    for db in ipr docMon; do
      cat "$root"/database/sql/*.sql | PGPASSWORD="$password" "$pgbin/psql" -X -q -v ON_ERROR_STOP=1 \
        -h 127.0.0.1 -p "$port" -U zelka -d "$db" > "$dir/load-$db.log" 2>&1 || {
        echo "loading the reference database into $db failed; see $dir/load-$db.log" >&2
        exit 7
      }
    done
    mkdir -p "$dir/odbc"
    driver="$(ls /usr/lib/*/odbc/psqlodbcw.so 2> /dev/null | head -n 1 || true)"
    cat > "$dir/odbc/odbcinst.ini" << EOF
[PostgreSQL Unicode]
Description=PostgreSQL ODBC driver (Unicode)
Driver=${driver:-psqlodbcw.so}
EOF
    : > "$dir/odbc/odbc.ini"
    cat > "$dir/server.env" << EOF
ZELKA_PG_HOST=127.0.0.1
ZELKA_PG_PORT=$port
ZELKA_PG_SOCKET=$sock
ZELKA_PG_BIN=$pgbin
ZELKA_PG_DATABASE=ipr
ZELKA_PG_USER=zelka
ZELKA_PG_PASSWORD='$password'
ODBCSYSINI=$dir/odbc
ODBCINI=$dir/odbc/odbc.ini
EOF
    if [ -z "$driver" ]; then
      echo "PostgreSQL runs on port $port, but the ODBC driver is missing: install odbc-postgresql" >&2
      exit 6
    fi
    echo "PostgreSQL runs in $dir on port $port"
    ;;
  stop)
    if running; then
      as_server "$pgbin/pg_ctl" -D "$data" -m fast -w stop > /dev/null
      echo "PostgreSQL in $dir stopped"
    else
      echo "PostgreSQL in $dir is not running"
    fi
    ;;
  status)
    if running; then echo "running"; else echo "stopped"; exit 1; fi
    ;;
  *) usage ;;
esac

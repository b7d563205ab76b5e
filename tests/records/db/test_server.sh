#!/usr/bin/env bash
# A throwaway PostgreSQL cluster for the database tests:
#   test_server.sh start <state folder>   initdb + pg_ctl in a temporary folder on a
#                                         free port; writes <state folder>/uri
#   test_server.sh stop <state folder>    stops it and removes every file of it
# Without the server package installed, start writes no uri and the server
# tests skip themselves. initdb refuses to run as root, so root runs the
# cluster as the unprivileged user nobody.
set -euo pipefail
mode=$1
state=$2

as_owner() {
  if [ "$(id -u)" -eq 0 ]; then runuser -u nobody -- "$@"; else "$@"; fi
}

stop() {
  [ -f "$state/dir" ] || return 0
  local dir bin
  dir=$(cat "$state/dir")
  bin=$(cat "$state/bin")
  as_owner "$bin/pg_ctl" -D "$dir/data" -m immediate stop >/dev/null 2>&1 || true
  rm -rf "$dir" "$state"
}

start() {
  stop
  local bin
  bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1 || true)
  if [ -z "$bin" ] || [ ! -x "$bin/initdb" ]; then
    echo "PostgreSQL server not installed: the server tests will be skipped"
    return 0
  fi
  mkdir -p "$state"
  local dir
  dir=$(mktemp -d /tmp/kinevo-test-server-XXXXXX)
  echo "$dir" >"$state/dir"
  echo "$bin" >"$state/bin"
  [ "$(id -u)" -eq 0 ] && chown nobody "$dir"
  as_owner "$bin/initdb" -D "$dir/data" -U kinevo --auth=trust --no-sync -E UTF8 >"$dir/initdb.log" 2>&1 ||
    { cat "$dir/initdb.log"; exit 1; }
  # One user name must give a password, which no password matches: the
  # tests of a refused log-in.
  { echo "host all kinevo_password 127.0.0.1/32 scram-sha-256"; cat "$dir/data/pg_hba.conf"; } >"$dir/pg_hba.conf"
  as_owner cp "$dir/pg_hba.conf" "$dir/data/pg_hba.conf"
  # Durability is not needed for a cluster that lives for one test run.
  local port tries=0
  while :; do
    port=$((20000 + RANDOM % 40000))
    if as_owner "$bin/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 30 \
        -o "-p $port -k $dir -c listen_addresses=127.0.0.1 -c fsync=off -c synchronous_commit=off -c full_page_writes=off" \
        start >/dev/null; then
      break
    fi
    tries=$((tries + 1))
    if [ $tries -ge 10 ]; then cat "$dir/server.log"; exit 1; fi
  done
  echo "postgresql://kinevo@127.0.0.1:$port/postgres" >"$state/uri"
  echo "test server on port $port in $dir"
}

case $mode in
  start) start ;;
  stop) stop ;;
  *) echo "usage: $0 start|stop <state folder>" >&2; exit 2 ;;
esac

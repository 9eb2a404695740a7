# A throwaway PostgreSQL server for the tests: its own data folder, listening on the
# loopback address only, on a free port; run as the `postgres` user when we are root.
# start_test_postgres DIR sets PG_TEST_URL and PG_TEST_VERSION; stop_test_postgres stops it.

pg_bin() {
  local bin
  bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
  [ -n "$bin" ] || { echo "PostgreSQL server binaries not found" >&2; return 1; }
  echo "$bin"
}

free_port() {
  local port
  for port in $(seq 55432 55532); do
    if ! (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; then echo "$port"; return 0; fi
  done
  echo "no free port between 55432 and 55532" >&2
  return 1
}

# Runs a command as the server's owner.
as_pg_owner() {
  if [ "$(id -u)" -eq 0 ]; then runuser -u postgres -- "$@"; else "$@"; fi
}

start_test_postgres() {
  local dir="$1" bin port
  bin=$(pg_bin)
  port=$(free_port)
  rm -rf "$dir"
  mkdir -p "$dir"
  if [ "$(id -u)" -eq 0 ]; then
    chown postgres "$dir"
    # The data folder must be reachable by the postgres user; fall back to /tmp.
    if ! runuser -u postgres -- test -w "$dir"; then
      dir=$(mktemp -d /tmp/keltro-pgtest.XXXXXX)
      chown postgres "$dir"
    fi
  fi
  PG_TEST_DIR="$dir"
  as_pg_owner "$bin/initdb" -D "$dir/data" -U postgres --auth=trust -E UTF8 --locale=C.UTF-8 \
    >"$dir/initdb.log" 2>&1 || { cat "$dir/initdb.log" >&2; return 1; }
  as_pg_owner "$bin/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 \
    -o "-c listen_addresses=127.0.0.1 -p $port -k $dir -c fsync=off -c max_connections=200" \
    start >/dev/null || { cat "$dir/server.log" >&2; return 1; }
  as_pg_owner "$bin/psql" -h 127.0.0.1 -p "$port" -U postgres -qAt \
    -c "CREATE DATABASE keltro_test" >/dev/null
  PG_TEST_URL="postgresql://postgres@127.0.0.1:$port/keltro_test"
  PG_TEST_VERSION=$("$bin/postgres" --version | awk '{print $3}')
  PG_TEST_BIN="$bin"
}

stop_test_postgres() {
  [ -n "${PG_TEST_DIR:-}" ] || return 0
  as_pg_owner "$PG_TEST_BIN/pg_ctl" -D "$PG_TEST_DIR/data" -m fast -w stop >/dev/null 2>&1 || true
}

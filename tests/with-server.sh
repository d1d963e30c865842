#!/usr/bin/env bash
# Runs a test program against a throw-away PostgreSQL 15 cluster of its own:
# made in a temporary folder, listening on a Unix socket there only, stopped
# and removed at the end, also on failure. The test finds it through
# VELORIN_TEST_SERVER. Exit 77 (skipped) where no server is installed.
set -uo pipefail
bin=$(ls -d /usr/lib/postgresql/15/bin 2>/dev/null || true)
if [ -z "$bin" ] || [ ! -x "$bin/initdb" ]; then
  echo "no PostgreSQL 15 server installed (postgresql-15): skipped"
  exit 77
fi
dir=$(mktemp -d /tmp/velorin-pg.XXXXXX)
chmod 755 "$dir"
# initdb refuses root: CI runs as root, so the cluster belongs to an
# unprivileged account.
as=()
if [ "$(id -u)" = 0 ]; then
  user=postgres
  id "$user" >/dev/null 2>&1 || user=nobody
  chown "$user" "$dir"
  as=(runuser -u "$user" --)
fi
stop() {
  "${as[@]}" "$bin/pg_ctl" -D "$dir/data" -m immediate stop >/dev/null 2>&1
  rm -rf "$dir"
}
trap stop EXIT
"${as[@]}" "$bin/initdb" -D "$dir/data" -E UTF8 --locale=C.UTF-8 -A trust -U velorin >"$dir/initdb.log" 2>&1 \
  || { cat "$dir/initdb.log"; exit 1; }
# Durability is the server's business, not the tests': no fsync.
"${as[@]}" "$bin/pg_ctl" -D "$dir/data" -w -t 60 -l "$dir/server.log" \
  -o "-k $dir -c listen_addresses= -p 5432 -c fsync=off -c synchronous_commit=off -c full_page_writes=off -c max_connections=40" \
  start >/dev/null || { cat "$dir/server.log"; exit 1; }
export VELORIN_TEST_SERVER="postgresql:///postgres?host=$dir&port=5432&user=velorin"
"$@"
rc=$?
[ $rc = 0 ] || tail -20 "$dir/server.log"
exit $rc

#!/usr/bin/env bash
# Runs every benchmark built in BUILD (default: build). The database files
# they need are generated in /tmp on the first run and reused afterwards.
set -euo pipefail
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
echo "cores: $(nproc)"
build=${1:-build}
found=0
for b in "$build"/bench_*; do
  [ -x "$b" ] || continue
  found=1
  echo "== $(basename "$b")"
  case "$b" in
    */bench_server) "$(dirname "$0")/../tests/with-server.sh" "$b" ;;   # on a throw-away server of its own
    *) "$b" ;;
  esac
done
[ "$found" = 1 ] || { echo "no benchmarks in $build" >&2; exit 1; }

#!/usr/bin/env bash
# Runs every benchmark executable of a build folder; figures go to the README by hand.
set -euo pipefail
build=${1:-build}
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
echo "cores: $(nproc)"
for b in "$build"/bench_*; do
  [ -x "$b" ] || continue
  echo "== $(basename "$b")"
  "$b"
done

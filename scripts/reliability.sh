#!/usr/bin/env bash
# Kills the program (kill -9) at random moments while it backs up, restores
# and initialises a large database, and checks afterwards that data.mdb opens,
# passes the integrity check and holds either the data before or the data
# after the action, never a mix.
#
#   scripts/reliability.sh [BUILD]      (RUNS=20 ORDERS=100000 by default)
#
# Files go to /tmp/velorin-reliability (the generated databases are reused).
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
runs=${RUNS:-20}
orders=${ORDERS:-100000}
driver="$build/reliability_driver"
tool="$build/velorin-db"
export QT_QPA_PLATFORM=offscreen
base=/tmp/velorin-reliability
mkdir -p "$base"
cd "$base"

[ -f "old-$orders.mdb" ] || "$tool" generate "old-$orders.mdb" --orders "$orders" >/dev/null
# The file restored: a different business (fewer orders).
[ -f "new-$orders.mdb" ] || "$tool" generate "new-$orders.mdb" --orders $((orders * 9 / 10)) >/dev/null

digest() { "$driver" verify "$1" 2>/dev/null | awk '$1 == "ok" { print $2 }'; }
fresh() {   # a working folder holding the old data as data.mdb
  rm -rf work && mkdir work && cp "old-$orders.mdb" work/data.mdb
}
# Runs the action to its end twice (the second time with the files in the
# page cache, as in the runs below): its duration in ms.
clean_run() {
  local setup=$1; shift
  $setup; "$driver" "$@" >/dev/null 2>&1 || true
  $setup; "$driver" "$@" 2>/dev/null | awk '$1 == "done" { print $2 }'
}
with_copy() { fresh && cp "new-$orders.mdb" copy.mdb; }

old=$(digest "old-$orders.mdb")
new=$(digest "new-$orders.mdb")
t_backup=$(clean_run with_copy backup work "$base/copy.mdb")
t_restore=$(clean_run fresh restore work "$base/new-$orders.mdb")
t_init=$(clean_run fresh initialize work)
emptied=$(digest work/data.mdb)
echo "file: $(du -h "old-$orders.mdb" | cut -f1) ($orders orders); uninterrupted: backup ${t_backup} ms, restore ${t_restore} ms, initialise ${t_init} ms"

# state NAME DIGEST: which of the known contents a file holds.
state() {
  case "$2" in
    "$old") echo old ;; "$new") echo new ;; "$emptied") echo emptied ;; "") echo BAD ;; *) echo MIXED ;;
  esac
}

failures=0
for action in backup restore initialize; do
  case $action in
    backup) t=$t_backup; args=(backup work "$base/copy.mdb") ;;
    restore) t=$t_restore; args=(restore work "$base/new-$orders.mdb") ;;
    initialize) t=$t_init; args=(initialize work) ;;
  esac
  declare -A seen=()
  killed=0
  for ((i = 1; i <= runs; i++)); do
    fresh
    cp "new-$orders.mdb" copy.mdb   # an older backup the new one replaces
    rm -f out
    "$driver" "${args[@]}" >out 2>/dev/null &
    pid=$!
    until grep -q '^go' out 2>/dev/null; do
      kill -0 "$pid" 2>/dev/null || { echo "driver ended before the action: $(cat out)"; exit 1; }
      sleep 0.01
    done
    delay=$((RANDOM % t))
    sleep "$((delay / 1000)).$(printf '%03d' $((delay % 1000)))"
    if kill -9 "$pid" 2>/dev/null; then wait "$pid" 2>/dev/null || true; fi
    grep -q '^done' out || killed=$((killed + 1))
    s=$(state data "$(digest work/data.mdb)")
    case $action in
      backup)
        [ "$s" = old ] || { echo "run $i: data.mdb is $s after a killed backup"; failures=$((failures + 1)); }
        case $(state copy "$(digest copy.mdb)") in
          old) s="target: the new backup, complete" ;; new) s="target: the previous backup, untouched" ;; *) s="target: BAD" ;;
        esac ;;
      restore) [ "$s" = old ] || [ "$s" = new ] || { echo "run $i: data.mdb is $s"; failures=$((failures + 1)); } ;;
      initialize) [ "$s" = old ] || [ "$s" = emptied ] || { echo "run $i: data.mdb is $s"; failures=$((failures + 1)); } ;;
    esac
    case $s in *BAD*|*MIXED*) failures=$((failures + 1)); echo "run $i: $s" ;; esac
    seen[$s]=$(( ${seen[$s]:-0} + 1 ))
  done
  summary=""
  for k in "${!seen[@]}"; do summary+="$k ${seen[$k]}, "; done
  echo "$action: $runs runs, $killed killed before the end; afterwards: ${summary%, }"
  unset seen
done
rm -rf work copy.mdb copy.mdb.part out
echo "failures: $failures"
[ "$failures" = 0 ]

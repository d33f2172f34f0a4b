#!/usr/bin/env bash
# Runs two builds of the batch command on one generated source and compares every table of the two targets
# row by row: a change made for speed must leave every row, value, key and generator as it was.
#   bench/compare-runs.sh OLD_BATCH NEW_BATCH [--kind mirkado4|kobaltin] [selvanto-make-source options...]
# The source comes from build/bench/selvanto-make-source (or $MAKE_SOURCE); --preset bench with smaller
# counts is a good choice, e.g. --preset bench --cards 3000 --stock 3000 --hotel 1000.
set -euo pipefail
old=$1 new=$2
shift 2
kind=mirkado4
if [ "${1:-}" = --kind ]; then kind=$2; shift 2; fi
make_source=${MAKE_SOURCE:-build/bench/selvanto-make-source}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$make_source" --kind "$kind" --source "$work/src" --target "$work/a" "$@" >/dev/null
cp -r "$work/a" "$work/b"
echo masterkey | "$old" --source-kind "$kind" --source "$work/src" --target "$work/a" >/dev/null 2>"$work/a.log"
echo masterkey | "$new" --source-kind "$kind" --source "$work/src" --target "$work/b" >/dev/null 2>"$work/b.log"

dump() {
  local root=$1
  (cd "$root" && find . -name '*.FDB' | sort) | while read -r rel; do
    local db="$root/$rel"
    echo "== $rel"
    tables=$(echo "SET HEADING OFF; SELECT TRIM(RDB\$RELATION_NAME) FROM RDB\$RELATIONS WHERE RDB\$SYSTEM_FLAG = 0 ORDER BY 1;" |
      isql-fb -q -ch WIN1254 "$db" | awk 'NF')
    for t in $tables; do
      echo "-- $t"
      echo "SELECT * FROM $t ORDER BY 1;" | isql-fb -q -ch WIN1254 "$db"
    done
    echo "-- generators"
    echo "SET HEADING OFF; SELECT TRIM(RDB\$GENERATOR_NAME) FROM RDB\$GENERATORS WHERE RDB\$SYSTEM_FLAG = 0 ORDER BY 1;" |
      isql-fb -q -ch WIN1254 "$db" | awk 'NF' | while read -r g; do
        printf '%s ' "$g"
        echo "SET HEADING OFF; SELECT GEN_ID($g, 0) FROM RDB\$DATABASE;" | isql-fb -q -ch WIN1254 "$db" | awk 'NF'
      done
  done | sed "s|$root|TARGET|g"
}
dump "$work/a" > "$work/a.dump"
dump "$work/b" > "$work/b.dump"
rows=$(grep -c . "$work/a.dump" || true)
if diff -q "$work/a.dump" "$work/b.dump" >/dev/null; then
  echo "identical: $rows lines of table dumps ($(grep -c '^-- ' "$work/a.dump") tables and generator lists)"
else
  diff "$work/a.dump" "$work/b.dump" | head -40
  echo "DIFFERENT"
  exit 1
fi

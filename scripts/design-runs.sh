#!/usr/bin/env bash
# Fixed runs of the automatic design, written to a folder (the JSON without
# its "seconds", the CSV, the exit status), so that two builds can be
# compared file by file:
#   bash scripts/design-runs.sh CLI OUT_DIR && diff -r OUT_DIR OTHER_DIR
set -uo pipefail
cli=$1 out=$2
mkdir -p "$out"
run() {  # NAME ARGS...
  local name=$1; shift
  [ -n "${ONLY:-}" ] && [[ " $ONLY " != *" $name "* ]] && return
  "$cli" design --threads 2 --json "$@" 2>"$out/$name.err" | sed -E 's/"seconds":[^,]*,//' >"$out/$name.json"
  echo "status ${PIPESTATUS[0]}" >>"$out/$name.err"
  "$cli" design --threads 2 -o "$out/$name.csv" "$@" >/dev/null 2>&1
}
run defaults
run yield0 --min-yield 0
run yield95 --min-yield 0.95
run clutch-heavy --min-yield 0 --set F=6000 --set D=280 --set d=175
run clutch-light --min-yield 0.9 --set F=3500 --set D=200 --set d=130 --set r0=22 --set rf=24
run infeasible --min-yield 0 --set r0=40
run grid5 --min-yield 0 --grid 5 --range R=84:92 --range RoverR=1.25:1.3
run no-refine --no-refine

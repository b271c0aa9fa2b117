#!/usr/bin/env bash
# Peak memory (maximum resident set) and time of the two long runs of the
# headless front end: a parameter study of N rows and the design search at
# a grid division. Memory targets are not unit tests: run this by hand.
#   bash bench/measure_memory.sh [CLI] [study ROWS...] [design GRID...]
# e.g. bash bench/measure_memory.sh build/release/src/cli/diaspring-cli study 20000 100000 design 2 4
set -euo pipefail
cli=${1:-build/release/src/cli/diaspring-cli}
shift || true
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Peak resident memory of a command in MB, and its wall time.
measure() {
  python3 - "$@" <<'PY'
import resource, subprocess, sys, time
start = time.monotonic()
rc = subprocess.call(sys.argv[1:], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
peak = resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss / 1024
print(f"{peak:8.1f} MB  {time.monotonic() - start:8.1f} s  (exit {rc})")
PY
}

mode=study
for arg in "$@"; do
  case $arg in
    study|design) mode=$arg; continue ;;
  esac
  if [ "$mode" = study ]; then
    # The sweep of bench/study_bench.cpp over the four geometry inputs.
    python3 - "$arg" > "$work/in.csv" <<'PY'
import sys
n = int(sys.argv[1])
print("h,HoverH,R,RoverR")
for i in range(n):
    print(f"{200 + i % 201}e-2,{150 + (i // 7) % 51}e-2,{760 + (i // 13) % 591}e-1,{120 + (i // 17) % 16}e-2")
PY
    printf 'study  %8s rows: ' "$arg"
    measure "$cli" study "$work/in.csv" -o "$work/out.csv" --threads 2
  else
    printf 'design --grid %s:    ' "$arg"
    measure "$cli" design --grid "$arg" --threads 2 -o "$work/front.csv"
  fi
done

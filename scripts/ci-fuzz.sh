#!/usr/bin/env bash
# Builds the fuzz targets with clang and libFuzzer (the fuzz preset) and runs
# each for FUZZ_SECONDS (30 by default) from its seed corpus in
# fuzz/corpus/<target>/. A crash, a sanitizer report, a broken property, a
# timeout or running out of memory fails the run; the input that did it is
# kept in build/fuzz/artifacts/ and its name printed. Inputs found on the way
# go to build/fuzz/found/<target>/, never into the repository's corpus.
set -euo pipefail
cd "$(dirname "$0")/.."

# The compiler and libFuzzer, needed only here.
packages=(clang-14 clang libclang-rt-14-dev cmake ninja-build)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ "${#missing[@]}" -gt 0 ]; then
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  echo "ci-fuzz: installing ${missing[*]}"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --parallel "$(nproc)"

seconds="${FUZZ_SECONDS:-30}"
build=build/fuzz
mkdir -p "$build/artifacts"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
failed=()
while read -r target; do
  [ -n "$target" ] || continue
  found="$build/found/$target"
  mkdir -p "$found"
  echo "ci-fuzz: $target for ${seconds} s"
  if ! "$build/fuzz/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
      -print_final_stats=1 -artifact_prefix="$build/artifacts/$target-" "$found" "fuzz/corpus/$target" \
      >"$build/$target.log" 2>&1; then
    tail -n 40 "$build/$target.log"
    failed+=("$target")
  else
    grep -E '^(stat::number_of_executed_units|stat::peak_rss_mb|Done)' "$build/$target.log" || true
  fi
done <"$build/fuzz_targets.txt"

if [ "${#failed[@]}" -gt 0 ]; then
  echo "ci-fuzz: FAILED: ${failed[*]} (inputs in $build/artifacts/)"
  exit 1
fi
echo "ci-fuzz: every target ran ${seconds} s without a fault"

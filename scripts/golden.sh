#!/usr/bin/env bash
# Byte-for-byte check of what the headless front end writes for a fixed set of
# runs: the --json of several action sequences, a small automatic design
# (without its "seconds"), two comparisons, the design file, SVG charts and
# the text of the design sheets. Record once from a build you trust, then
# check any later build against it:
#
#   bash scripts/golden.sh record build/golden [build/dev/src/cli/diaspring-cli]
#   bash scripts/golden.sh check  build/golden [build/dev/src/cli/diaspring-cli]
#
# check exits 1 and names every run whose output differs.
set -uo pipefail

mode=${1:?record or check}
ref=${2:?folder of the recorded outputs}
cli=${3:-build/dev/src/cli/diaspring-cli}
root=$(cd "$(dirname "$0")/.." && pwd)
cli=$(realpath "$cli")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

run() {  # run NAME ARGS...: stdout, stderr and exit status of one run
  local name=$1
  shift
  (cd "$work" && "$cli" "$@" >"$work/$name.out" 2>"$work/$name.err"; echo "$?" >"$work/$name.rc")
}

# Drops the one member that depends on the machine: the search's run time.
no_seconds() { sed -E 's/"seconds": ?[-0-9.eE+]+,?//' "$1" >"$1.tmp" && mv "$1.tmp" "$1"; }

pdf_text() { pdftotext -layout "$work/$1" "$work/$1.txt" && rm "$work/$1"; }

s=$root/docs/sample.diaspring
thin=$root/docs/sample-thin-cone.diaspring
rig=$root/docs/sample-rig.csv

run default --json
run typed --set h=2.5 --set F=5200 --press Command1 --press Command3 --json
run slider --slider HScroll3=900 --press Command1 --json
run flat --set HoverH=1.3 --press Command1 --press Command3 --json
run overflow --set h=1e400 --press Command1 --json
run digits --set h=2.123456789012345678 --set E=2.06e5 --set mu=.3 --press Command1 --press Command3 --json
run analysis --set b=12 --set sigmaAllow=1800 --yield --json
run report_default
run loaded --design "$s" --press Command1 --press Command3 --json
run design_small design --grid 1 --no-refine --min-yield 0 --range R=88:90 --range HoverH=1.75:1.8 --json
run design_refined design --grid 2 --min-yield 0 --range R=89:90 --range HoverH=1.76:1.78 --range RoverR=1.33:1.35 --json
run design_infeasible design --grid 1 --no-refine --range R=88:90 --range HoverH=1.75:1.8 --json
for f in design_small design_refined design_infeasible; do no_seconds "$work/$f.out"; done
run compare_measured compare --design "$s" --design "$thin" --measured "$rig" --json
run compare_scatter compare --design "$s" --tolerance E=2% --samples 2000 --seed 7 --json
run compare_chart compare --design "$s" --measured "$rig" --chart compare.svg
run disc disc --De 40 --Di 20.4 --t 2.25 --h0 0.9 --s 0.675 --json
run materials materials --json
run chart_svg --set h=2.4 --press Command1 --chart chart.svg
run sheet --design "$s" --press Command1 --press Command3 --report sheet.pdf
run save --set h=2.5 --set b=12 --press Command1 --save saved.diaspring
run resave --design "$thin" --save resaved.diaspring
# The time of the last save changes at every run.
for f in saved resaved; do
  sed -E 's/"savedAt": ?"[^"]*"/"savedAt": ""/' "$work/$f.diaspring" >"$work/$f.design" && rm "$work/$f.diaspring"
done
pdf_text sheet.pdf
run compare_sheet compare --design "$s" --design "$thin" --measured "$rig" --report compare-sheet.pdf
pdf_text compare-sheet.pdf

case $mode in
  record)
    rm -rf "$ref" && mkdir -p "$ref" && cp "$work"/* "$ref"/
    echo "golden: recorded $(ls "$ref" | wc -l) files in $ref"
    ;;
  check)
    status=0
    for f in "$ref"/*; do
      name=$(basename "$f")
      if ! cmp -s "$f" "$work/$name"; then
        echo "golden: $name differs"
        diff <(head -c 200000 "$f") <(head -c 200000 "$work/$name") | head -5
        status=1
      fi
    done
    for f in "$work"/*; do
      [ -e "$ref/$(basename "$f")" ] || { echo "golden: $(basename "$f") is new"; status=1; }
    done
    [ $status -eq 0 ] && echo "golden: all $(ls "$ref" | wc -l) files identical"
    exit $status
    ;;
  *) echo "golden: record or check, not '$mode'" >&2; exit 2 ;;
esac

#!/bin/sh
# The window's --screenshot run: the window and the chart are written as PNG
# files; a file that cannot be written fails the run with the system's
# reason, and nothing else is left beside the files.
# Usage: screenshot_test.sh DIASPRING WORKDIR
set -u
app=$1
dir=$2
fail() { echo "FAIL: $*" >&2; exit 1; }
isPng() { [ "$(head -c 4 "$1" | tail -c 3)" = PNG ]; }
rm -rf "$dir" && mkdir -p "$dir" || fail "cannot make $dir"
export QT_QPA_PLATFORM=offscreen

"$app" --screenshot "$dir/window.png" --chart "$dir/chart.png" 2>"$dir/err" || fail "the run failed: $(cat "$dir/err")"
isPng "$dir/window.png" || fail "window.png is not a PNG"
isPng "$dir/chart.png" || fail "chart.png is not a PNG"
! grep -q '^diaspring:' "$dir/err" || fail "unexpected messages: $(cat "$dir/err")"

# The chart's folder is missing: the window is still saved, the run fails and says why.
rm "$dir/window.png" "$dir/chart.png" "$dir/err"
"$app" --screenshot "$dir/window.png" --chart "$dir/missing/chart.png" 2>"$dir/err"
[ $? -eq 1 ] || fail "an unwritable chart file did not fail the run"
grep -qF "diaspring: cannot write '$dir/missing/chart.png': No such file or directory" "$dir/err" ||
  fail "the reason is not told: $(cat "$dir/err")"
isPng "$dir/window.png" || fail "window.png is not a PNG"
rm "$dir/err"
[ "$(ls -A "$dir")" = window.png ] || fail "left beside the files: $(ls -A "$dir")"

# --analysis saves the window 强度与分离特性 instead: an image of its own size.
size() { od -An -tx1 -j16 -N8 "$1" | tr -d ' \n'; }
"$app" --screenshot "$dir/analysis.png" --analysis --press Command1 2>"$dir/err" || fail "the analysis run failed: $(cat "$dir/err")"
isPng "$dir/analysis.png" || fail "analysis.png is not a PNG"
[ "$(size "$dir/analysis.png")" != "$(size "$dir/window.png")" ] || fail "analysis.png has the main window's size"
"$app" --analysis 2>"$dir/err"
[ $? -eq 2 ] || fail "--analysis without --screenshot is not a usage error"
rm "$dir/err" "$dir/analysis.png"
echo "screenshot files: ok"

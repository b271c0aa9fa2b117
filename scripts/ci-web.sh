#!/usr/bin/env bash
# The page in two real browsers: builds the site, the browser driver from npm
# (puppeteer-core, no browser of its own: Debian's chromium over the DevTools
# protocol, Debian's firefox-esr over WebDriver BiDi), and compares the page
# with the headless front end over many action sequences, then checks what the
# page alone shows (grey boxes, the chart, refusals); the one-file page from
# file:// and the served folder offline. Every test runs in chromium; in
# firefox the first 60 sequences and the tests of the one file, the work kept,
# the sheet, the page and the comparison. Each test's seconds are printed.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/web.sh --build-only
command -v chromium >/dev/null || { SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO="sudo"; $SUDO apt-get update -qq; $SUDO apt-get install -y chromium; }
command -v firefox-esr >/dev/null || { SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO="sudo"; $SUDO apt-get update -qq; $SUDO apt-get install -y firefox-esr; }
command -v npm >/dev/null || { SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO="sudo"; $SUDO apt-get update -qq; $SUDO apt-get install -y npm; }
(cd tests/web && npm install --no-audit --no-fund --loglevel=error)
cli=build/dev/src/cli/diaspring-cli
if [ ! -x "$cli" ]; then
  cmake --preset dev >/dev/null
  cmake --build --preset dev --target diaspring-cli --parallel "$(nproc)"
fi
timed() {
  local started=$SECONDS
  "$@"
  echo "[${DIASPRING_BROWSER}] $2: $((SECONDS - started)) s"
}
# The served folder and the one file opened from file://.
site=build/web/site
one=build/web/diaspring.html
export DIASPRING_BROWSER=chromium
timed node tests/web/parity_test.mjs "$site" "$cli" "$one"
timed node tests/web/one_file_test.mjs "$one" "$cli"
timed node tests/web/offline_test.mjs "$site"
timed node tests/web/work_test.mjs "$one" "$cli"
timed node tests/web/page_test.mjs "$site"
timed node tests/web/sheet_test.mjs "$one" "$cli"
timed node tests/web/material_test.mjs "$one" "$cli"
timed node tests/web/compare_test.mjs "$one" "$cli"
timed node tests/web/pool_test.mjs "$one" "$cli"
export DIASPRING_BROWSER=firefox
DIASPRING_SEQUENCES=60 timed node tests/web/parity_test.mjs "$site" "$cli" "$one"
timed node tests/web/one_file_test.mjs "$one" "$cli"
timed node tests/web/work_test.mjs "$one" "$cli"
timed node tests/web/page_test.mjs "$site"
timed node tests/web/sheet_test.mjs "$one" "$cli"
timed node tests/web/compare_test.mjs "$one" "$cli"

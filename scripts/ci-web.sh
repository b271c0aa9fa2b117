#!/usr/bin/env bash
# The page in a real browser: builds the site, the browser driver from npm
# (puppeteer-core, no browser of its own: Debian's chromium), and compares the
# page with the headless front end over many action sequences, then checks
# what the page alone shows (grey boxes, the chart, refusals); the one-file
# page from file:// and the served folder offline.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/web.sh --build-only
command -v chromium >/dev/null || { SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO="sudo"; $SUDO apt-get update -qq; $SUDO apt-get install -y chromium; }
command -v npm >/dev/null || { SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO="sudo"; $SUDO apt-get update -qq; $SUDO apt-get install -y npm; }
(cd tests/web && npm install --no-audit --no-fund --loglevel=error)
cli=build/dev/src/cli/diaspring-cli
if [ ! -x "$cli" ]; then
  cmake --preset dev >/dev/null
  cmake --build --preset dev --target diaspring-cli --parallel "$(nproc)"
fi
# The served folder and the one file opened from file://.
one=build/web/diaspring.html
node tests/web/parity_test.mjs build/web/site "$cli" "$one"
node tests/web/one_file_test.mjs "$one" "$cli"
node tests/web/offline_test.mjs build/web/site
node tests/web/work_test.mjs "$one" "$cli"
node tests/web/page_test.mjs build/web/site
node tests/web/sheet_test.mjs "$one" "$cli"
node tests/web/pool_test.mjs "$one" "$cli"

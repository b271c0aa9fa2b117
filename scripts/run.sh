#!/usr/bin/env bash
# Sets up the machine, builds the optimised program and starts it: the
# window when a display is available, otherwise the headless front end on
# the default design, printing its report.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake --preset release >/dev/null
cmake --build --preset release --parallel "$(nproc)"
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec build/release/src/app/diaspring "$@"
else
  echo "No display: running the headless front end on the default design."
  exec build/release/src/cli/diaspring-cli "$@"
fi

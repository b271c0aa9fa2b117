#!/usr/bin/env bash
# Sets up the machine, builds the debug configuration with warnings as
# errors and runs the whole test suite headless.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
cmake --preset dev >/dev/null
cmake --build --preset dev --parallel "$(nproc)"
ctest --preset dev --parallel "$(nproc)"

#!/usr/bin/env bash
# The window in a browser: installs what is missing (Debian's emscripten and
# node), builds the WebAssembly module and the page into build/web/site/, and
# serves it on http://127.0.0.1:8080/. With --build-only it stops after the
# build: the folder then works from any web server, and offline once loaded.
set -euo pipefail
cd "$(dirname "$0")/.."
build_only=0
[ "${1:-}" = "--build-only" ] && build_only=1

missing=()
command -v em++ >/dev/null || missing+=(emscripten)
command -v node >/dev/null || missing+=(nodejs)
command -v cmake >/dev/null || missing+=(cmake)
command -v ninja >/dev/null || missing+=(ninja-build)
[ -f /usr/include/nlohmann/json.hpp ] || missing+=(nlohmann-json3-dev)
[ -f /usr/include/eigen3/Eigen/Dense ] || missing+=(libeigen3-dev)
[ -f /usr/include/fast_float/fast_float.h ] || missing+=(libfast-float-dev)
[ -f /usr/include/fmt/format.h ] || missing+=(libfmt-dev)
if [ "${#missing[@]}" -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi

# Debian's em++ runs its JavaScript optimiser with Debian's node modules.
export NODE_PATH=/usr/share/nodejs
cmake --preset web >/dev/null
cmake --build --preset web --parallel "$(nproc)"
echo "The page: build/web/site/ ($(du -sk build/web/site | cut -f1) kB)"
[ "$build_only" -eq 1 ] && exit 0
exec node scripts/serve-site.mjs build/web/site 8080

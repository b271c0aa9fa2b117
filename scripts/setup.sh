#!/usr/bin/env bash
# Installs what the build, the program and the tests need on Debian 12, and
# what building and checking the Debian package needs (scripts/ci-package.sh):
# scdoc for the manual pages, rsvg-convert for the icon's sizes, the
# validators and lintian, dpkg-shlibdeps, and the desktop tools whose
# triggers the package's installation runs. Eigen (header-only) solves the
# calibration's least-squares steps in the comparison of curves; fast_float
# and {fmt} (header-only) read and write the numbers' texts.
# Idempotent: when everything is present it only checks and returns.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-svg-dev qt6-translations-l10n libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  nlohmann-json3-dev libfast-float-dev libfmt-dev
  libeigen3-dev
  fonts-wqy-microhei fonts-dejavu-core
  xvfb xauth poppler-utils locales
  scdoc librsvg2-bin qt6-translations-l10n
  desktop-file-utils appstream dpkg-dev man-db shared-mime-info hicolor-icon-theme lintian
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

if [ "${#missing[@]}" -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# The conversions are tested under a decimal-comma locale.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  echo "setup: generating the de_DE.UTF-8 locale"
  $SUDO localedef -i de_DE -f UTF-8 de_DE.UTF-8
fi

#!/usr/bin/env bash
# Builds the Debian package and checks it as an engineer's machine will see
# it: the desktop entry and the AppStream metainfo pass their validators, the
# package holds the two programs and their files (no test or benchmark),
# installs with apt, runs from the installed path, and its removal leaves
# nothing behind. Needs root (apt-get); replaces an installed diaspring.
set -euo pipefail
cd "$(dirname "$0")/.."
started=$(date +%s)
bash scripts/setup.sh

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
fail() { echo "ci-package: $*" >&2; exit 1; }

app_id=org.diaspring.Diaspring
build=build/package

desktop-file-validate "data/$app_id.desktop"
echo "ci-package: desktop entry valid"

cmake --preset package >/dev/null
cmake --build --preset package --parallel "$(nproc)"
appstreamcli validate --no-net "$build/data/$app_id.metainfo.xml"
rm -f "$build"/diaspring_*.deb
cpack --preset package >/dev/null
debs=("$build"/diaspring_*.deb)
[ "${#debs[@]}" -eq 1 ] && [ -f "${debs[0]}" ] || fail "expected one package in $build, found: ${debs[*]}"
deb=${debs[0]}
version=$(dpkg-deb -f "$deb" Version)

# What the package holds: the two programs and nothing else in bin, no test
# or benchmark anywhere.
contents=$(dpkg-deb -c "$deb" | awk '{print $NF}' | sed -e 's|^\./|/|' -e 's|/$||' | grep .)
programs=$(grep '^/usr/bin/.' <<<"$contents" | sort | tr '\n' ' ')
[ "$programs" = "/usr/bin/diaspring /usr/bin/diaspring-cli " ] || fail "unexpected programs: $programs"
if grep -E '_test|_bench|gtest|benchmark' <<<"$contents"; then fail "the package holds tests or benchmarks"; fi
for f in /usr/share/doc/diaspring/changelog.gz "/usr/share/applications/$app_id.desktop" "/usr/share/metainfo/$app_id.metainfo.xml" \
         /usr/share/mime/packages/diaspring.xml "/usr/share/icons/hicolor/scalable/apps/$app_id.svg" \
         /usr/share/man/man1/diaspring.1.gz /usr/share/man/man1/diaspring-cli.1.gz /usr/share/doc/diaspring/copyright; do
  grep -qxF "$f" <<<"$contents" || fail "the package lacks $f"
done
for size in 16 24 32 48 64 128 256; do
  grep -qxF "/usr/share/icons/hicolor/${size}x${size}/apps/$app_id.png" <<<"$contents" || fail "no ${size}px icon"
done

# Debian's own checks: an error fails the stage; warnings are shown.
lintian_out=$(lintian --tag-display-limit 0 "$deb" 2>/dev/null) || true
[ -z "$lintian_out" ] || echo "$lintian_out"
if grep -q '^E: ' <<<"$lintian_out"; then fail "lintian reports errors"; fi
echo "ci-package: lintian: $(grep -c '^E: ' <<<"$lintian_out" || true) errors, $(grep -c '^W: ' <<<"$lintian_out" || true) warnings"

echo "ci-package: $(basename "$deb"): $(stat -c %s "$deb") bytes ($(du -h "$deb" | cut -f1)), installed $(dpkg-deb -f "$deb" Installed-Size) KiB"
echo "ci-package: Depends: $(dpkg-deb -f "$deb" Depends)"

# Install into this machine, as a user would. Which of the package's folders
# exist beforehand, so that the removal can be held to leaving those alone.
if dpkg-query -W -f='${Status}' diaspring 2>/dev/null | grep -q 'install ok installed'; then
  $SUDO apt-get purge -y -qq diaspring >/dev/null
fi
preexisting=$(mktemp)
while read -r path; do
  if [ -e "$path" ]; then echo "$path"; fi
done <<<"$contents" >"$preexisting"
$SUDO apt-get install -y -qq --no-install-recommends "./$deb" >/dev/null || {
  # The dependencies may be missing from stale package lists.
  $SUDO apt-get update -qq && $SUDO apt-get install -y -qq --no-install-recommends "./$deb" >/dev/null
}

[ "$(command -v diaspring-cli)" = /usr/bin/diaspring-cli ] || fail "diaspring-cli is not /usr/bin/diaspring-cli"
[ "$(/usr/bin/diaspring-cli --version)" = "diaspring-cli $version" ] || fail "diaspring-cli --version: $(/usr/bin/diaspring-cli --version)"
[ "$(env -i /usr/bin/diaspring --version)" = "diaspring $version" ] || fail "diaspring --version"
report=$(/usr/bin/diaspring-cli) || fail "the default run failed"
grep -q '^Faults: none$' <<<"$report" || fail "the default run reports faults: $report"
[ "$(man -w diaspring-cli)" = /usr/share/man/man1/diaspring-cli.1.gz ] || fail "man -w diaspring-cli: $(man -w diaspring-cli)"
man -w diaspring >/dev/null || fail "no manual page for diaspring"
# Each installed page holds every section of its source: a generator that
# stopped early leaves a cut page.
for page in diaspring diaspring-cli; do
  want=$(grep -c '^# ' "data/man/$page.1.scd.in")
  have=$(zcat "/usr/share/man/man1/$page.1.gz" | grep -c '^\.SH ' || true)
  [ "$have" -eq "$want" ] || fail "man $page shows $have of the $want sections of its source"
done
echo "ci-package: the manual pages hold every section of their sources"
shot=$(mktemp --suffix=.png)
xvfb-run -a /usr/bin/diaspring --screenshot "$shot" --press Command1 || fail "the installed window did not start"
[ -s "$shot" ] || fail "the installed window saved no screenshot"
rm -f "$shot"
# The triggers of Debian's desktop tools have taken the files in.
[ -f /usr/share/mime/application/x-diaspring-design.xml ] || fail "the MIME database lacks the design type"
if command -v update-desktop-database >/dev/null; then
  grep -q "application/x-diaspring-design=.*$app_id.desktop" /usr/share/applications/mimeinfo.cache ||
    fail "the desktop database does not open design files with the program"
fi
icon_cache=/usr/share/icons/hicolor/icon-theme.cache
if command -v gtk-update-icon-cache >/dev/null; then
  grep -q "$app_id" "$icon_cache" || fail "the icon cache lacks the program's icon"
fi
echo "ci-package: installed; --version, the default run, the window and man -w work from /usr/bin"

# Remove it: every file it installed goes, and every folder it made.
installed=$(mktemp)
dpkg -L diaspring >"$installed"
$SUDO apt-get purge -y -qq diaspring >/dev/null
left=()
while read -r path; do
  if [ "$path" = /. ]; then continue; fi
  [ -e "$path" ] || [ -L "$path" ] || continue
  if [ -d "$path" ] && [ ! -L "$path" ] && grep -qxF "$path" "$preexisting"; then continue; fi
  left+=("$path")
done <"$installed"
[ "${#left[@]}" -eq 0 ] || fail "left behind after removal: ${left[*]}"
[ ! -e /usr/share/mime/application/x-diaspring-design.xml ] || fail "the MIME database still has the design type"
if [ -f /usr/share/applications/mimeinfo.cache ] && grep -q "$app_id.desktop" /usr/share/applications/mimeinfo.cache; then
  fail "the desktop database still names the program"
fi
if [ -f "$icon_cache" ] && grep -q "$app_id" "$icon_cache"; then fail "the icon cache still holds the program's icon"; fi
rm -f "$preexisting" "$installed"
echo "ci-package: removed; nothing left behind ($(wc -l <<<"$contents") paths checked)"
echo "ci-package: $(($(date +%s) - started)) s"

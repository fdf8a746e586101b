#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the host application need, and only those
# that are missing, so a second run costs nothing. With --fuzz also clang and its libFuzzer and
# sanitizer runtimes, which only `make fuzz` needs.
set -euo pipefail

packages=(
    build-essential cmake pkg-config ccache
    qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite libqt6sql6-psql libgl-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    fonts-wqy-microhei qt6-translations-l10n
    postgresql
    poppler-utils  # the tests read the construction sheets back (pdftotext, pdfinfo, pdffonts)
    python3  # the delaying proxy of the library benchmark (scripts/delay-proxy.py)
)
if [ "${1:-}" = "--fuzz" ]; then
    packages+=(clang-14 libclang-rt-14-dev)
fi

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"

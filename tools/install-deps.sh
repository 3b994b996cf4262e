#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the program need, but only those
# that are missing, so a second call costs nothing. Non-interactive; needs root or sudo.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config clang libclang-rt-dev clang-format
    qt6-base-dev qt6-base-dev-tools qt6-tools-dev qt6-tools-dev-tools qt6-documentation-tools
    libqt6help6 libgl-dev
    qt6-charts-dev qt6-svg-dev libqt6opengl6-dev
    libgtest-dev libbenchmark-dev
    libxlsxwriter-dev libexpat1-dev zlib1g-dev libssl-dev python3 xlsx2csv
    fonts-dejavu-core fonts-liberation2 xvfb xauth xdotool openbox
    cups printer-driver-cups-pdf poppler-utils
    libxcb1-dev libxcb-damage0-dev
    librsvg2-bin dpkg-dev lintian desktop-file-utils appstream time
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing missing packages: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || { echo "Need root or sudo to install: ${missing[*]}" >&2; exit 1; }
    sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"

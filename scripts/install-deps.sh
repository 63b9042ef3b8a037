#!/usr/bin/env bash
# Installs the Debian packages that building and testing rezuro need, skipping
# those already present. Runs apt as root, through sudo when not root.
# Usage: scripts/install-deps.sh [--windows]   (--windows adds MinGW-w64 and Wine)
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config
    libsdl2-dev libx11-dev libxfixes-dev libgl-dev libgl1-mesa-dri libfreetype-dev libfontconfig-dev
    libgtest-dev libgmock-dev libbenchmark-dev libpng-dev libopenexr-dev
    glslang-tools xvfb xdotool x11-utils x11-apps imagemagick
    fonts-crosextra-carlito fonts-dejavu-core
)
if [[ "${1:-}" == "--windows" ]]; then
    packages+=(g++-mingw-w64-x86-64-posix wine wine64)
fi

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

sudo=""
if [[ $(id -u) -ne 0 ]]; then sudo="sudo"; fi
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"

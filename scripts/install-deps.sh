#!/usr/bin/env bash
# Installs the Debian 12 packages the build and tests need; quiet when all are there.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config ccache
    clang libclang-rt-14-dev clang-format
    googletest libgtest-dev libgmock-dev libbenchmark-dev
    qt6-base-dev fonts-dejavu-core
    libcurl4-openssl-dev python3 python3-pyftpdlib
    libssl-dev openssl osslsigncode
    desktop-file-utils appstream man-db
    g++-mingw-w64-x86-64-win32 wine wine64 xvfb xdotool
    x11-xserver-utils
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=()
[ "$(id -u)" -ne 0 ] && sudo=(sudo)
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
    "${missing[@]}" >/dev/null

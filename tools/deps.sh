#!/usr/bin/env bash
# Installs the Debian packages that the build and the program need, when any
# of them is missing; with --tests also those of the tests (a private X
# server and its tools, and the real browsers with the accessibility bus for
# the integration tests). Uses sudo when not run as root.
set -euo pipefail

packages=(
    build-essential cmake pkg-config
    qt6-base-dev libxcb1-dev libxcb-ewmh-dev libxcb-xfixes0-dev libatspi2.0-dev
    liblz4-dev nlohmann-json3-dev libsqlite3-dev xdg-utils
    fonts-ipafont-gothic fonts-dejavu-core fonts-dejavu-extra fonts-liberation
)
if [[ " $* " == *" --tests "* ]]; then
    packages+=(
        libgtest-dev libgmock-dev libbenchmark-dev libxcb-xtest0-dev
        desktop-file-utils appstream
        xvfb openbox xdotool xclip x11-utils imagemagick
        firefox-esr chromium at-spi2-core dbus-daemon python3
    )
fi
if [[ " $* " == *" --windows "* ]]; then
    packages+=(g++-mingw-w64-x86-64-posix wine wine64 xvfb xauth nsis zip icoutils openbox xdotool xclip x11-utils imagemagick)
fi

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"

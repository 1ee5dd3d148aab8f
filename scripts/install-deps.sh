#!/usr/bin/env bash
# Installs the Debian packages Velmora needs to build, run and test, when any is missing.
# Runs unattended: no prompt, no standard input.
set -euo pipefail

packages=(
    cmake ninja-build g++ libgtest-dev
    qt6-base-dev qt6-multimedia-dev gstreamer1.0-plugins-base gstreamer1.0-plugins-good
    libfluidsynth-dev fluidsynth timgm6mb-soundfont
    xvfb xauth
    fonts-dejavu-core fonts-dejavu-extra   # the faces of the sample card and the tests, with their italics
    libgif-dev          # test-only peer decoder/encoder, never linked into the product
    clang libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing missing packages: ${missing[*]}"
sudo=()
if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || { echo "Need root (or sudo) to install: ${missing[*]}" >&2; exit 1; }
    sudo=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q </dev/null
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends \
    "${missing[@]}" </dev/null

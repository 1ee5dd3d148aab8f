#!/usr/bin/env bash
# Installs the Debian packages Velmora needs to build, run and test, when any is missing.
# Runs unattended: no prompt, no standard input.
set -euo pipefail

packages=(
    cmake ninja-build g++ libgtest-dev
    qt6-base-dev
    # SDL2, built at configure time from Debian's source package (fetched with apt-get source,
    # unpacked by dpkg-source) with the headers of the backends it loads at run time; the
    # shared libsdl2-dev is the fallback when the source cannot be had.
    dpkg-dev pkg-config libsdl2-dev
    libasound2-dev libpulse-dev libpipewire-0.3-dev
    libx11-dev libxext-dev libxrandr-dev libxcursor-dev libxi-dev libxfixes-dev libxss-dev
    libwayland-dev libxkbcommon-dev libdecor-0-dev libegl-dev libdbus-1-dev
    sox                 # test-only peer WAV reader and writer
    fluidsynth timgm6mb-soundfont   # test-only peer synthesizer and its sounds
    fluid-soundfont-gm openttd-openmsx   # benchmark-only: FluidR3's sounds and real MIDI tunes
    xvfb xauth xdotool x11-utils   # the card played on a virtual display, keys, its window
    openbox             # test-only: the window manager the tool's windows are tried under
    fonts-dejavu-core fonts-dejavu-extra   # the faces of the sample card and the tests, with their italics
    librsvg2-bin        # renders the icon's sizes from its drawing
    file                # cpack reads the programs' dependencies with it (and dpkg-dev)
    # test-only: the checkers of the installed menu entry, metadata and file type
    desktop-file-utils appstream shared-mime-info xdg-utils libfile-mimeinfo-perl
    libgif-dev          # test-only peer decoder/encoder, never linked into the product
    libpng-dev          # test-only peer decoder of the frames the player writes
    zlib1g-dev          # linked into the card player whole (libz.a), for its PNG frames
    clang libclang-rt-14-dev
    # bench-only: the peers of bench_reduce and the real pictures bench/photos.sh makes from
    # the wallpapers; nothing builds or tests with them
    pngquant imagemagick gnome-backgrounds desktop-base
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

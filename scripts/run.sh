#!/usr/bin/env bash
# Builds Velmora and starts the tool.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

build="${VELMORA_BUILD_DIR:-build}"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" -j "$(nproc)"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "Velmora is built ($build/bin/velmora), but there is no display to show it on:" \
         "neither DISPLAY nor WAYLAND_DISPLAY is set." >&2
    echo "Start it from a desktop session, or without one through a virtual display:" \
         "xvfb-run $build/bin/velmora" >&2
    exit 0
fi
exec "$build/bin/velmora"

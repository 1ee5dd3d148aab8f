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
    # What works without a display: building a card from a script.
    card="$PWD/$build/samples/birthday-card"
    "$build/bin/velmora-build" "$build/samples/birthday/birthday.vlm" -o "$card"
    echo "Meanwhile the sample card was built without any window: $card" >&2
    echo "  (its script: $build/samples/birthday/birthday.vlm; '$card --list' shows what it holds," \
         "'$card --render DIR' writes its frames, and on a desktop '$card' plays it)" >&2
    exit 0
fi
exec "$build/bin/velmora"

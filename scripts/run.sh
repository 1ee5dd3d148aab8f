#!/usr/bin/env bash
# Builds Velmora and starts the tool.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$(nproc)"

# The application window does not exist yet: only the engine libraries are built.
echo "Velmora's engine is built in build/; the tool's main window is not part of this build yet."

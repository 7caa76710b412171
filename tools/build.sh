#!/bin/sh
# Builds the Windows deliverables of both Windows presets into build/win32
# and build/win64.
set -e
cd "$(dirname "$0")/.."
tools/install-deps.sh
for preset in win32 win64; do
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j "$(nproc)"
done

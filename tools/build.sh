#!/bin/sh
# Builds the Windows deliverables of both Windows presets into build/win64
# and build/win32, then the installer, which takes the 64-bit module from
# build/win64: build/win32/Glimmerbox-<version>-setup.exe.
set -e
cd "$(dirname "$0")/.."
tools/install-deps.sh
for preset in win64 win32; do
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j "$(nproc)"
done
cmake --build --preset win32 --target installer

#!/bin/sh
# Installs what building and testing Glimmerbox needs on Debian 12, as root.
# Safe to run again: it installs only what is missing.
set -e
packages="cmake g++ googletest libbenchmark-dev clang libclang-rt-14-dev g++-mingw-w64-i686 g++-mingw-w64-x86-64 mingw-w64-tools
          g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix wine wine64 wine32:i386 libwine-dev xvfb nsis 7zip
          nlohmann-json3-dev python3 kodi pulseaudio"
missing=""
for package in $packages; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing="$missing $package"
done
[ -z "$missing" ] && exit 0
echo "installing:$missing"
dpkg --add-architecture i386
apt-get update -qq
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $missing >/dev/null

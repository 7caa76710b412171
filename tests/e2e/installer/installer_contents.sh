#!/bin/sh
# What the built setup program carries, read without running it: exactly the
# program and the two modules of this build, a version block of the project's
# version, and a 32-bit setup program, which 32-bit Windows can run too.
#
#   installer_contents.sh INSTALLER VERSION PROGRAM SINK32 SINK64 WORK_DIR
set -u
installer=$1 version=$2 program=$3 sink32=$4 sink64=$5 work=$6
. "$(dirname "$0")/checks.sh"

# The machine field of a Windows executable's header, in hex.
pe_machine() {
    header=$(od -An -tu4 -j60 -N4 "$1" | tr -d ' ')
    od -An -tx2 -j$((header + 4)) -N2 "$1" | tr -d ' '
}

# A string of the version block: the UTF-16 text after its key.
version_string() {
    strings -el "$1" | grep -x -A1 "$2" | sed -n 2p
}

unpack() {
    7zz x -y -o"$payload" "$installer" >/dev/null
}

payload="$work/installer_contents"
rm -rf "$payload"
check "the setup program unpacks" unpack
rm -rf "$payload/\$PLUGINSDIR"
check "it carries the program, both modules and the uninstaller, nothing else" \
    equals "$(files_below "$payload")" "./Glimmerbox.dll ./Glimmerbox.exe ./Uninstall.exe ./x64/Glimmerbox.dll "
check "the program is this build's" cmp "$payload/Glimmerbox.exe" "$program"
check "the 32-bit module is this build's" cmp "$payload/Glimmerbox.dll" "$sink32"
check "the 64-bit module is the 64-bit build's" cmp "$payload/x64/Glimmerbox.dll" "$sink64"
check "the setup program is 32-bit" equals "$(pe_machine "$installer")" 014c
check "its product version is the project's" equals "$(version_string "$installer" ProductVersion)" "$version"
check "its file version is the project's" equals "$(version_string "$installer" FileVersion)" "$version"
rm -rf "$payload"
finish

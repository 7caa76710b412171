#!/bin/sh
# The setup program under Wine, in a fresh 64-bit prefix: an upgrade from an
# earlier version while the program runs, what the installation leaves (files,
# the class in both registry views, shortcut, log-on start, "Programs and
# Features" entry), the stand-in Media Center host of each bitness playing a
# session through the installed modules, the program started from the shortcut
# and from the log-on entry (main window, tray icon, end on a close
# request), a silent uninstall that leaves only the user's settings, a folder
# that holds other files refused, and an upgrade into another folder that
# leaves nothing of the earlier installation, not even to its uninstaller.
#
#   installer_test.sh INSTALLER PREVIOUS_INSTALLER VERSION PROGRAM WIN32_DIR WIN64_DIR WORK_DIR
#
# PREVIOUS_INSTALLER is a setup program of a lower version; WIN32_DIR and
# WIN64_DIR are the two builds, with the stand-in host and the area reader,
# and in the 32-bit one the program driver and ui_driver.exe. Exit code 0
# when every check passed, 1 when one failed, 77 (skipped) on a host that
# cannot run 32-bit programs: the setup program and the program are 32-bit.
set -u
installer=$1 previous=$2 version=$3 program=$4 win32=$5 win64=$6 work=$7
. "$(dirname "$0")/checks.sh"
export WINEPREFIX="$work/installer_prefix" WINEARCH=win64
. "$(dirname "$0")/../../../cmake/wine-env.sh"
if [ "$WINE_RUNS_32BIT" = no ]; then
    echo "skipped: this host's kernel cannot run 32-bit programs, so Wine cannot run the 32-bit setup program here"
    exit 77
fi

install_dir='C:\Program Files (x86)\Glimmerbox'
unix_install_dir="$WINEPREFIX/drive_c/Program Files (x86)/Glimmerbox"
shortcut='C:\ProgramData\Microsoft\Windows\Start Menu\Programs\Glimmerbox.lnk'
unix_shortcut="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Glimmerbox.lnk"
class_key='HKLM\Software\Classes\CLSID\{BA85F2E0-3923-47DA-B92D-428A6C986A38}'
entry_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Glimmerbox'
run_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Run'
relations_key='HKCU\Software\Quillmoor\Glimmerbox\1001\Relations'
driver="$win32/tests/e2e/installer/program_driver.exe"

win() {
    $WINE "$@" </dev/null
}

# value_of LISTING NAME: the data of a value in what "reg query" printed.
value_of() {
    printf '%s\n' "$1" | tr -d '\r' | sed -n "s/^ *$2  *REG_[A-Z_]*  *//p"
}

# reg_value KEY VIEW [NAME]: the data of a value (the default one without
# NAME) in the 32-bit or 64-bit registry view; empty when there is none.
reg_value() {
    if [ $# -eq 3 ]; then
        value_of "$(win reg query "$1" /v "$3" "/reg:$2" 2>/dev/null)" "$3"
    else
        value_of "$(win reg query "$1" /ve "/reg:$2" 2>/dev/null)" '(Default)'
    fi
}

no_key() {
    ! win reg query "$1" "/reg:$2" >/dev/null 2>&1
}

# The stand-in host of one build finds the sink through its category and
# plays a recording that the area reader, a process of its own, sees.
host_plays_session() {
    played=$(cd "$1" && win status_host.exe "open tv" "change tv Recording=true" "run slot_dump.exe" "close tv" 2>&1) &&
        contains "$played" "slot 0 inUse 1 sequence 1 lastState 0x1006"
}

host_finds_no_sink() {
    (cd "$1" && win status_host.exe "open tv" >/dev/null 2>&1)
    [ $? -eq 2 ]
}

# starts_and_closes COMMAND|SHORTCUT: the program starts, shows its main
# window and its tray icon, and ends with 0 on a close request; the driver's
# output is kept in $driven.
starts_and_closes() {
    win "$driver" "$1" >"$work/installer_started.txt" 2>&1 &
    started=$!
    for attempt in $(seq 300); do grep -q window "$work/installer_started.txt" && break; sleep 0.1; done
    win "$win32/ui_driver.exe" wait-program
    in_tray=$?
    win "$driver" close
    wait $started
    ended=$?
    driven=$(cat "$work/installer_started.txt")
    equals "tray $in_tray, ended $ended" "tray 0, ended 0" && contains "$driven" "exit 0"
}

# uninstall [FOLDER]: the uninstaller finishes from a copy of itself, whose
# last step removes the "Programs and Features" entry.
uninstall() {
    win "${1:-$install_dir}\\Uninstall.exe" /S || return 1
    for attempt in $(seq 100); do no_key "$entry_key" 32 && sleep 1 && return 0; sleep 0.2; done
    return 1
}

# Starts the 64-bit stand-in host with a session open, so that it holds the
# installed 64-bit module; $holder is its process.
hold_module() {
    (cd "$win64" && exec $WINE status_host.exe "open tv" "wait 60000" </dev/null >"$work/installer_holder.txt" 2>&1) &
    holder=$!
    for attempt in $(seq 300); do grep -q "open tv" "$work/installer_holder.txt" && return 0; sleep 0.1; done
    return 1
}

# size_is_installed_files FOLDER: the entry's size counts the installed files only.
size_is_installed_files() {
    kilobytes=$(printf '0x%x' $(($(cd "$1" && cat Glimmerbox.exe Glimmerbox.dll Uninstall.exe x64/Glimmerbox.dll | wc -c) / 1024)))
    equals "$(reg_value "$entry_key" 32 EstimatedSize)" "$kilobytes"
}

# registered_in FOLDER: the entry, the class in both views, the log-on start and the shortcut point into FOLDER.
registered_in() {
    equals "$(reg_value "$entry_key" 32 InstallLocation)" "$1" &&
        equals "$(reg_value "$class_key\\InprocServer32" 32)" "$1\\Glimmerbox.dll" &&
        equals "$(reg_value "$class_key\\InprocServer32" 64)" "$1\\x64\\Glimmerbox.dll" &&
        equals "$(reg_value "$run_key" 32 Glimmerbox)" "\"$1\\Glimmerbox.exe\"" &&
        contains "$(tr -d '\0' <"$unix_shortcut")" "$1\\Glimmerbox.exe"
}

nothing_registered() {
    no_key "$class_key" 32 && no_key "$class_key" 64 && test ! -e "$unix_shortcut" &&
        equals "$(reg_value "$run_key" 32 Glimmerbox)" "" && no_key "$entry_key" 32
}

restarts_remove() {
    contains "$(reg_value 'HKLM\System\CurrentControlSet\Control\Session Manager' 64 PendingFileRenameOperations)" \
        "\\??\\$1\\0"
}

# A private display, for the program's window.
display_file="$work/installer_display"
: >"$display_file"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$display_file" >/dev/null 2>&1 &
xvfb=$!
trap '(wineserver -k) >/dev/null 2>&1; kill $xvfb' EXIT
for attempt in $(seq 200); do [ -s "$display_file" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$display_file")"

(wineserver -k) >/dev/null 2>&1
rm -rf "$WINEPREFIX"
win wineboot --init >/dev/null 2>&1
win reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
wineserver -w
# One server for the whole run, detached from the output: each Wine program starts fast.
(wineserver -p && win cmd /c exit) >/dev/null 2>&1

echo "== an earlier version, running, with stored relations =="
check "the earlier version installs silently" win "$previous" /S
win reg add "$relations_key" /v Relation0Event /t REG_DWORD /d 4 /f >/dev/null 2>&1
win "$driver" "\"$install_dir\\Glimmerbox.exe\"" >"$work/installer_running.txt" 2>&1 &
running=$!
for attempt in $(seq 300); do grep -q window "$work/installer_running.txt" && break; sleep 0.1; done
check "the earlier version's program runs" grep -q window "$work/installer_running.txt"

echo "== upgrade =="
check "the upgrade installs silently" win "$installer" /S
wait $running
check "the upgrade ended the running program through a close request" grep -q "exit 0" "$work/installer_running.txt"
check "the entry shows the new version" equals "$(reg_value "$entry_key" 32 DisplayVersion)" "$version"
check "the stored relations stay" equals "$(reg_value "$relations_key" 64 Relation0Event)" 0x4

echo "== the installation =="
check "the program, both modules and the uninstaller are in place, nothing else" \
    equals "$(files_below "$unix_install_dir")" "./Glimmerbox.dll ./Glimmerbox.exe ./Uninstall.exe ./x64/Glimmerbox.dll "
check "the installed program is this build's" cmp "$unix_install_dir/Glimmerbox.exe" "$program"
check "the installed 32-bit module is this build's" cmp "$unix_install_dir/Glimmerbox.dll" "$win32/Glimmerbox.dll"
check "the installed 64-bit module is the 64-bit build's" cmp "$unix_install_dir/x64/Glimmerbox.dll" "$win64/Glimmerbox.dll"
check "the 32-bit view's class is the installed 32-bit module" \
    equals "$(reg_value "$class_key\\InprocServer32" 32)" "$install_dir\\Glimmerbox.dll"
check "the 64-bit view's class is the installed 64-bit module" \
    equals "$(reg_value "$class_key\\InprocServer32" 64)" "$install_dir\\x64\\Glimmerbox.dll"
check "the 32-bit host plays a session through the installed module" host_plays_session "$win32"
check "the 64-bit host plays a session through the installed module" host_plays_session "$win64"
entry=$(win reg query "$entry_key" /reg:32 2>/dev/null)
for pair in "DisplayName=Glimmerbox" "DisplayVersion=$version" "Publisher=Quillmoor" \
            "DisplayIcon=$install_dir\\Glimmerbox.exe,0" "InstallLocation=$install_dir" \
            "UninstallString=\"$install_dir\\Uninstall.exe\"" "QuietUninstallString=\"$install_dir\\Uninstall.exe\" /S" \
            "NoModify=0x1" "NoRepair=0x1"; do
    check "the \"Programs and Features\" entry's ${pair%%=*}" equals "$(value_of "$entry" "${pair%%=*}")" "${pair#*=}"
done
check "the entry's size is the installed files' kilobytes" size_is_installed_files "$unix_install_dir"

echo "== starting the program =="
check "the Start menu shortcut is there" test -f "$unix_shortcut"
check "the shortcut starts the program, which shows its tray icon and ends on a close request" starts_and_closes "$shortcut"
check "the shortcut's target is the installed program" contains "$driven" "target $install_dir\\Glimmerbox.exe"
logon=$(reg_value "$run_key" 32 Glimmerbox)
check "every user's log-on starts the installed program" equals "$logon" "\"$install_dir\\Glimmerbox.exe\""
check "the log-on command starts the program, which shows its tray icon and ends on a close request" starts_and_closes "$logon"
win reg delete "$run_key" /v Glimmerbox /f /reg:32 >/dev/null 2>&1
check "installing again installs silently" win "$installer" /S
check "installing again keeps a log-on start that was turned off" equals "$(reg_value "$run_key" 32 Glimmerbox)" ""
win reg add "$run_key" /v Glimmerbox /d "$logon" /f /reg:32 >/dev/null 2>&1

echo "== uninstall =="
check "the uninstaller runs silently" uninstall
check "no installed file or folder is left" test ! -e "$unix_install_dir"
check "no class in the 32-bit view" no_key "$class_key" 32
check "no class in the 64-bit view" no_key "$class_key" 64
check "the 32-bit host finds no sink" host_finds_no_sink "$win32"
check "the 64-bit host finds no sink" host_finds_no_sink "$win64"
check "no Start menu shortcut" test ! -e "$unix_shortcut"
check "no log-on entry" equals "$(reg_value "$run_key" 32 Glimmerbox)" ""
check "no \"Programs and Features\" entry" no_key "$entry_key" 32

echo "== a folder of its own =="
other_dir='C:\Glimmerbox'
unix_other_dir="$WINEPREFIX/drive_c/Glimmerbox"
mkdir -p "$WINEPREFIX/drive_c/Tools"
echo "not Glimmerbox's" >"$WINEPREFIX/drive_c/Tools/Uninstall.exe"
win "$installer" /S '/D=C:\Tools'
check "a folder that holds other files is refused with ERROR_DIR_NOT_EMPTY" equals $? 145
check "the refused folder keeps its files" equals "$(files_below "$WINEPREFIX/drive_c/Tools")" "./Uninstall.exe "
check "the refused folder gets no entry" no_key "$entry_key" 32
check "installing again installs silently" win "$installer" /S
head -c 300000 /dev/zero >"$unix_install_dir/notes.txt"
check "installing over its own installation installs silently" win "$installer" /S
check "the entry's size leaves out files that are not Glimmerbox's" size_is_installed_files "$unix_install_dir"
rm "$unix_install_dir/notes.txt"
cp "$unix_install_dir/Uninstall.exe" "$work/installer_earlier_uninstaller.exe"
check "an upgrade into another folder installs silently" win "$installer" /S "/D=$other_dir"
check "the earlier installation is gone" test ! -e "$unix_install_dir"
check "the other folder holds the installation" \
    equals "$(files_below "$unix_other_dir")" "./Glimmerbox.dll ./Glimmerbox.exe ./Uninstall.exe ./x64/Glimmerbox.dll "
check "every registration points into the other folder" registered_in "$other_dir"
check "the entry's size there is the installed files'" size_is_installed_files "$unix_other_dir"
mkdir -p "$unix_install_dir"
cp "$work/installer_earlier_uninstaller.exe" "$unix_install_dir/Uninstall.exe"
# Each word on its own: a quoted _?= or /D= (as Wine quotes a word with blanks) is ignored.
check "the earlier uninstaller, run afterwards, ends" win "$install_dir\\Uninstall.exe" /S _?=$install_dir
check "it leaves the installation in the other folder alone" registered_in "$other_dir"
rm -r "$unix_install_dir"
check "the installation in the other folder uninstalls silently" uninstall "$other_dir"
check "no file or folder of it is left" test ! -e "$unix_other_dir"
check "no class in either view, shortcut, log-on start or entry is left" nothing_registered

echo "== a module that Media Center's host holds =="
check "installing again installs silently" win "$installer" /S
check "the 64-bit host holds the installed module" hold_module
check "installing over the held module succeeds" win "$installer" /S
check "the held module is replaced" cmp "$unix_install_dir/x64/Glimmerbox.dll" "$win64/Glimmerbox.dll"
check "the held module's old file is removed at the next restart" restarts_remove "$install_dir\\x64\\Glimmerbox.dll.old"
kill $holder
check "the 64-bit host holds the new module" hold_module
check "uninstalling while the host holds the module succeeds" uninstall
check "the held module is removed at the next restart" restarts_remove "$install_dir\\x64\\Glimmerbox.dll"
check "nothing else is left" equals "$(files_below "$unix_install_dir")" "./x64/Glimmerbox.dll "
kill $holder

check "the user's relations stay" equals "$(reg_value "$relations_key" 64 Relation0Event)" 0x4
finish

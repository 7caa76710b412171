#!/bin/sh
# Builds what is missing and runs Glimmerbox under Wine, in a private prefix
# inside the build folder, with the sink module registered.
#
#   tools/run.sh            starts the program on $DISPLAY; it lives in Wine's
#                           notification area ("Wine System Tray")
#   tools/run.sh --demo     also plays a short recording and playback through the
#                           stand-in Media Center host, with the window open
#
# Without a display it runs on a private Xvfb, saves pictures of the
# configuration window's tabs into the build folder's "screenshots" (with
# --demo also while a recording and a playback run), ends the program through
# its tray menu and says where the pictures are.
set -eu
cd "$(dirname "$0")/.."
demo=no
case "${1:-}" in
"") ;;
--demo) demo=yes ;;
*) echo "usage: tools/run.sh [--demo]"; exit 2 ;;
esac

. tools/wine-session.sh
wine_session Glimmerbox glimmerbox_sink status_host ui_driver
./wine-run.sh "$regsvr32" /s Glimmerbox.dll

# A few relations of the fallback keyboard device (hardware ID 2003, the
# device under Wine), so that the scenario's events have rows to mark.
demo_relations() {
    cat >demo-relations.reg <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Quillmoor\Glimmerbox\2003\Relations]
"Relation0Event"=dword:00000001
"Relation0LED"=dword:00000002
"Relation0State"=dword:00000002
"Relation0Priority"=dword:00000001
"Relation1Event"=dword:00000004
"Relation1LED"=dword:00000000
"Relation1State"=dword:00000002
"Relation1Priority"=dword:00000003
"Relation2Event"=dword:00000008
"Relation2LED"=dword:00000000
"Relation2State"=dword:00000002
"Relation2Priority"=dword:00000003
"Relation3Event"=dword:00008000
"Relation3LED"=dword:00000001
"Relation3State"=dword:00000002
"Relation3Priority"=dword:00000003
"Relation4Event"=dword:00010000
"Relation4LED"=dword:00000001
"Relation4State"=dword:00000002
"Relation4Priority"=dword:00000003
REG
    ./wine-run.sh regedit /S demo-relations.reg
}

# One recording, a second one, then playback and pause; "$1" runs at each
# moment worth a look (a step of the stand-in host, or nothing).
demo_scenario() {
    cat <<STEPS
open tv
wait 3000
change tv Recording=true
wait 3000
${1:+$1 recording}
open guide
change guide Recording=true
wait 3000
${1:+$1 two-recordings}
close guide
change tv Play=true
wait 3000
${1:+$1 playing}
change tv Pause=true
wait 3000
close tv
wait 2000
STEPS
}

if [ "$demo" = yes ]; then demo_relations; fi
./wine-run.sh Glimmerbox.exe &
program=$!
./wine-run.sh ui_driver.exe wait-program

if [ -z "${DISPLAY:-}" ]; then
    mkdir -p screenshots
    folder=$(./wine-run.sh winepath -w "$PWD/screenshots" | tr -d '\r')
    ./wine-run.sh ui_driver.exe pictures "$folder" start >/dev/null
    if [ "$demo" = yes ]; then
        demo_scenario "run ui_driver.exe pictures $folder" >demo-scenario.txt
        ./wine-run.sh status_host.exe -f demo-scenario.txt >/dev/null
    fi
    ./wine-run.sh ui_driver.exe exit
    wait $program || true
    echo "no display: Glimmerbox ran on a private X server and ended; pictures of its window are in $PWD/screenshots:"
    ls "$PWD/screenshots"
else
    echo "Glimmerbox runs in Wine's notification area (\"Wine System Tray\"): double-click its icon for the"
    echo "configuration window, right-click it and choose Exit to end it."
    if [ "$demo" = yes ]; then
        ./wine-run.sh ui_driver.exe show
        demo_scenario "" >demo-scenario.txt
        ./wine-run.sh status_host.exe -f demo-scenario.txt >/dev/null
    fi
    wait $program || true
fi

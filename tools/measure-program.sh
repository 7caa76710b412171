#!/bin/sh
# Measures Glimmerbox.exe under Wine and prints the figures:
#   size        the stripped 32-bit program (the product) and the 64-bit one
#   start-up    from CreateProcess until its tray icon shows, the step right
#               before the 125 ms tick timer starts, against a bare start and end
#   memory      private bytes after start-up, as Windows counts them and as Linux does
#   idle CPU    the program's CPU time over 60 s in the tray, the timer included
# Run as root on Debian 12 like the other tools; uses a private Xvfb when
# there is no display.
set -eu
cd "$(dirname "$0")/.."
idle_seconds=60

cmake --preset win32 >/dev/null
cmake --build --preset win32 -j "$(nproc)" --target Glimmerbox >/dev/null
size32=$(stat -c %s build/win32/Glimmerbox.exe)
. tools/wine-session.sh
wine_session Glimmerbox ui_driver

echo "== size"
echo "Glimmerbox.exe: win32 $((size32 / 1024)) KB, win64 $(($(stat -c %s Glimmerbox.exe) / 1024)) KB (stripped, static)"

echo "== start-up (no serial module; $(ls /dev/ttyS* 2>/dev/null | wc -l) serial device nodes on this host)"
./wine-run.sh ui_driver.exe start-time "$(./wine-run.sh winepath -w "$PWD/Glimmerbox.exe" | tr -d '\r')" 5

# CPU seconds (user + system) of a process, in clock ticks.
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }

./wine-run.sh Glimmerbox.exe &
program=$!  # wine-run.sh execs the Wine loader, which becomes the program
./wine-run.sh ui_driver.exe wait-program
echo "== memory after start-up"
./wine-run.sh ui_driver.exe memory
awk '/^Private/ { kb += $2 } END { print "Linux: " kb " KB private pages, Wine'"'"'s own libraries included" }' \
    "/proc/$program/smaps_rollup"

echo "== idle CPU over $idle_seconds s"
sleep 2
before=$(cpu_ticks $program)
sleep $idle_seconds
after=$(cpu_ticks $program)
hz=$(getconf CLK_TCK)
awk -v t="$((after - before))" -v hz="$hz" -v s="$idle_seconds" \
    'BEGIN { printf "%d ms of CPU in %d s: %.3f %% of one core\n", t * 1000 / hz, s, t * 100 / hz / s }'
./wine-run.sh ui_driver.exe exit
wait $program || true

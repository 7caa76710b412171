#!/bin/sh
# Measures Glimmerbox.exe under Wine and prints the figures:
#   size        the stripped 32-bit program (the product) and the 64-bit one
#   start-up    from CreateProcess until its tray icon shows, the step right
#               before the 125 ms tick timer starts, against Wine's start and end
#               of a bare windowed program
#   memory      private bytes after start-up, as Windows counts them and as Linux does
#   idle CPU    the program's CPU time over 60 s in the tray, the timer included, next to
#               a bare Wine window with the same 125 ms timer: what Wine alone costs
#   tray lights the idle CPU with "Show the LEDs in the tray icon" on and off, nothing
#               blinking; and with one LED blinking, the icon changes sent to the shell
#               (NIM_MODIFY, from Wine's systray trace) against the blink phases
#   Kodi        the idle CPU over 2 x 60 s following Kodi while it is not running (the
#               default), against not following it, in turns: the program and the
#               prefix's wineserver, which serves each of its socket calls
# IDLE_SECONDS=N measures the idle CPU over N seconds instead.
# Run as root on Debian 12 like the other tools; uses a private Xvfb when
# there is no display.
set -eu
cd "$(dirname "$0")/.."
idle_seconds=${IDLE_SECONDS:-60}

# Wine maps the host's serial device nodes to COM ports, which the program
# opens and probes at start. The figures are for a machine without a serial
# port: where the host has such nodes, the script runs again in a mount
# namespace of its own whose /dev lacks them.
serial_nodes=no
for node in /dev/ttyS* /dev/ttyUSB* /dev/ttyACM*; do
    [ -e "$node" ] && serial_nodes=yes  # a pattern without a match stays as it is
done
if [ -z "${GLIMMER_WITHOUT_SERIAL_NODES:-}" ] && [ "$serial_nodes" = yes ]; then
    GLIMMER_WITHOUT_SERIAL_NODES=1 exec unshare -m sh -c '
        devices=$(mktemp -d)
        mount -t tmpfs none "$devices"
        for entry in /dev/*; do
            name=${entry#/dev/}
            case "$name" in ttyS*|ttyUSB*|ttyACM*) continue ;; esac
            if [ -L "$entry" ]; then cp -P "$entry" "$devices/$name"
            elif [ -d "$entry" ]; then mkdir "$devices/$name" && mount --rbind "$entry" "$devices/$name"
            else touch "$devices/$name" && mount --bind "$entry" "$devices/$name"; fi
        done
        mount --rbind "$devices" /dev
        exec "$0"' "$PWD/tools/measure-program.sh"
fi

for preset in win32 win64; do
    cmake --preset $preset >/dev/null
    cmake --build --preset $preset -j "$(nproc)" --target Glimmerbox >/dev/null
done
kilobytes() { echo $(($(stat -c %s "build/$1/Glimmerbox.exe") / 1024)); }
echo "== size"
echo "Glimmerbox.exe: win32 $(kilobytes win32) KB, win64 $(kilobytes win64) KB (stripped, static)"
. tools/wine-session.sh
wine_session Glimmerbox ui_driver

echo "== start-up (no serial port)"
./wine-run.sh ui_driver.exe start-time "$(./wine-run.sh winepath -w "$PWD/Glimmerbox.exe" | tr -d '\r')" 5

# CPU seconds (user + system) of a process, in clock ticks.
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }

./wine-run.sh Glimmerbox.exe &
program=$!  # wine-run.sh execs the Wine loader, which becomes the program
./wine-run.sh ui_driver.exe wait-program
echo "== memory after start-up"
./wine-run.sh ui_driver.exe memory
# Wine's own libraries have private pages in every process: a small Wine
# program that waits (ui_driver looking for a row no window has) shows them.
private_kb() { awk '/^Private/ { kb += $2 } END { print kb }' "/proc/$1/smaps_rollup"; }
./wine-run.sh ui_driver.exe marks 3000 "no such row" 2>/dev/null &
bare=$!
sleep 2
echo "Linux: $(private_kb $program) KB private pages; a small Wine program beside it: $(private_kb $bare) KB"
wait $bare || true

echo "== idle CPU over $idle_seconds s"
./wine-run.sh ui_driver.exe ticking $((idle_seconds + 5)) &
ticking=$!
sleep 2
before=$(cpu_ticks $program) ticking_before=$(cpu_ticks $ticking)
sleep $idle_seconds
after=$(cpu_ticks $program) ticking_after=$(cpu_ticks $ticking)
hz=$(getconf CLK_TCK)
share() {
    awk -v t="$1" -v hz="$hz" -v s="$idle_seconds" -v what="$2" \
        'BEGIN { printf "%s: %d ms of CPU in %d s, %.3f %% of one core\n", what, t * 1000 / hz, s, t * 100 / hz / s }'
}
share $((after - before)) "Glimmerbox.exe"
share $((ticking_after - ticking_before)) "a bare Wine window with a 125 ms timer"
wait $ticking || true
./wine-run.sh ui_driver.exe exit
wait $program || true

# The program started with the tray lights on or off; its process in $program.
start_with_tray_lights() {
    ./wine-run.sh reg add 'HKCU\Software\Quillmoor\Glimmerbox' /v TrayLights /t REG_DWORD /d "$1" /f >/dev/null
    ./wine-run.sh Glimmerbox.exe &
    program=$!
    ./wine-run.sh ui_driver.exe wait-program
}
end_program() { ./wine-run.sh ui_driver.exe exit >/dev/null; wait $program || true; }

echo "== tray lights: idle CPU over $idle_seconds s, nothing blinking"
for lights in 1 0; do
    start_with_tray_lights $lights
    sleep 2
    before=$(cpu_ticks $program)
    sleep $idle_seconds
    share $(($(cpu_ticks $program) - before)) "TrayLights=$lights"
    end_program
done

# The fallback device (no serial port, no keyboard driver here) with LED 1
# blinking for "Always on": lit four ticks of 125 ms, dark four.
blink_seconds=${BLINK_SECONDS:-20}
relations='HKCU\Software\Quillmoor\Glimmerbox\2003\Relations'
./wine-run.sh reg delete "$relations" /f >/dev/null 2>&1 || true
for value in Event:4194304 LED:0 State:4 Priority:3; do
    ./wine-run.sh reg add "$relations" /v "Relation0${value%%:*}" /t REG_DWORD /d "${value#*:}" /f >/dev/null
done
echo "== tray lights: one LED blinking for $blink_seconds s"
GLIMMER_WINEDEBUG=trace+systray start_with_tray_lights 1 2>systray.log
sleep 2
before=$(grep -c 'dwMessage = 1' systray.log || true)
sleep $blink_seconds
after=$(grep -c 'dwMessage = 1' systray.log || true)
echo "NIM_MODIFY: $((after - before)) in $blink_seconds s of $((blink_seconds * 2)) blink phases"
end_program
./wine-run.sh reg delete "$relations" /f >/dev/null 2>&1 || true
echo "== idle CPU following Kodi, which is not running, and not following it: twice $idle_seconds s each, in turns"
settings='HKCU\Software\Quillmoor\Glimmerbox'
# A port nobody listens on: Kodi is not running.
port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
./wine-run.sh reg add "$settings" /v KodiPort /t REG_DWORD /d "$port" /f >/dev/null
wineserver=""
for candidate in $(pgrep wineserver); do
    tr '\0' '\n' <"/proc/$candidate/environ" | grep -qx "WINEPREFIX=$PWD/wineprefix" && wineserver=$candidate
done
# Nanoseconds on a CPU of all threads of a process.
cpu_ns() { cat /proc/$1/task/*/schedstat | awk '{ ns += $1 } END { printf "%.0f", ns }'; }
program_1=0 server_1=0 program_0=0 server_0=0
for following in 1 0 1 0; do
    ./wine-run.sh reg add "$settings" /v KodiSource /t REG_DWORD /d $following /f >/dev/null
    ./wine-run.sh Glimmerbox.exe &
    program=$!
    ./wine-run.sh ui_driver.exe wait-program
    sleep 2
    program_before=$(cpu_ns $program) server_before=$(cpu_ns $wineserver)
    sleep $idle_seconds
    program_after=$(cpu_ns $program) server_after=$(cpu_ns $wineserver)
    ./wine-run.sh ui_driver.exe exit
    wait $program || true
    eval "program_$following=\$((program_$following + program_after - program_before))"
    eval "server_$following=\$((server_$following + server_after - server_before))"
done
./wine-run.sh reg delete "$settings" /v KodiSource /f >/dev/null
./wine-run.sh reg delete "$settings" /v KodiPort /f >/dev/null
awk -v p1="$program_1" -v s1="$server_1" -v p0="$program_0" -v s0="$server_0" -v s="$((2 * idle_seconds))" 'BEGIN {
    printf "following Kodi: %.1f ms of CPU in %d s (program %.1f, wineserver %.1f)\n", (p1 + s1) / 1e6, s, p1 / 1e6, s1 / 1e6
    printf "not following:  %.1f ms of CPU in %d s (program %.1f, wineserver %.1f)\n", (p0 + s0) / 1e6, s, p0 / 1e6, s0 / 1e6
    printf "difference: %+.1f %% (program alone %+.1f %%)\n", (p1 + s1 - p0 - s0) * 100 / (p0 + s0), (p1 - p0) * 100 / p0 }'

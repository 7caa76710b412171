#!/bin/sh
# A private X display for Windows programs that show windows.
#   display.sh setup STATE PREFIX    starts Xvfb and restarts PREFIX's wineserver, so that
#                                    Wine's desktop and notification area come up on it
#   display.sh run STATE COMMAND...  runs COMMAND on that display
#   display.sh cleanup STATE PREFIX  stops Xvfb and restarts the wineserver without it
# The display is $GLIMMER_TEST_DISPLAY (e.g. :76) when set, otherwise the first
# free one. Everything started here is detached from the caller's output,
# or CTest would wait for it.
set -e
action=$1
state=$2
shift 2
restart_wineserver() {
    export WINEPREFIX="$1"
    "$(dirname "$0")/wine-prefix.sh" cleanup "$WINEPREFIX"
    "$(dirname "$0")/wine-prefix.sh" setup "$WINEPREFIX"
}
case "$action" in
setup)
    mkdir -p "$state"
    rm -f "$state/display"
    if [ -n "${GLIMMER_TEST_DISPLAY:-}" ]; then
        Xvfb "$GLIMMER_TEST_DISPLAY" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 </dev/null &
        echo $! >"$state/xvfb.pid"
        number=${GLIMMER_TEST_DISPLAY#:}
        # The server is ready once its socket exists.
        for attempt in $(seq 50); do [ -S "/tmp/.X11-unix/X$number" ] && break; sleep 0.1; done
        [ -S "/tmp/.X11-unix/X$number" ] || { echo "Xvfb did not start on $GLIMMER_TEST_DISPLAY"; exit 1; }
        echo "$GLIMMER_TEST_DISPLAY" >"$state/display"
    else
        # Xvfb writes the number it chose to the given descriptor once it is ready.
        Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$state/display.number" >/dev/null 2>&1 </dev/null &
        echo $! >"$state/xvfb.pid"
        for attempt in $(seq 50); do [ -s "$state/display.number" ] && break; sleep 0.1; done
        [ -s "$state/display.number" ] || { echo "Xvfb did not start"; exit 1; }
        echo ":$(head -n 1 "$state/display.number")" >"$state/display"
    fi
    restart_wineserver "$1"
    ;;
run)
    DISPLAY=$(cat "$state/display")
    export DISPLAY
    exec "$@"
    ;;
cleanup)
    [ -f "$state/xvfb.pid" ] && kill "$(cat "$state/xvfb.pid")" 2>/dev/null || true
    rm -f "$state/xvfb.pid" "$state/display" "$state/display.number"
    restart_wineserver "$1"
    ;;
*)
    echo "usage: display.sh setup|cleanup STATE PREFIX | display.sh run STATE COMMAND..."
    exit 2
    ;;
esac

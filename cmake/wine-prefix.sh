#!/bin/sh
# CTest fixture for the Windows tests: "setup" creates the build folder's
# private Wine prefix (once) and starts a persistent wineserver, "cleanup"
# stops it. Without a DISPLAY, setup starts a private Xvfb on a free display
# for the windows the tests create; wine-run.sh finds it in the prefix.
# Wine's service processes inherit the caller's output pipes, so everything
# here is detached from them, or CTest would wait for them.
set -e
export WINEPREFIX="$2"
. "$(dirname "$0")/wine-env.sh"
xvfb_display="$WINEPREFIX/.xvfb-display"
xvfb_pid="$WINEPREFIX/.xvfb-pid"
case "$1" in
setup)
    mkdir -p "$WINEPREFIX"
    if [ -z "$DISPLAY" ] && command -v Xvfb >/dev/null; then
        if ! { [ -s "$xvfb_pid" ] && kill -0 "$(cat "$xvfb_pid")" 2>/dev/null; }; then
            rm -f "$xvfb_display"
            # -displayfd picks a free display and writes its number when it is ready.
            setsid Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$xvfb_display" >/dev/null 2>&1 </dev/null &
            echo $! >"$xvfb_pid"
            for try in 1 2 3 4 5 6 7 8 9 10; do [ -s "$xvfb_display" ] && break; sleep 0.5; done
        fi
        [ -s "$xvfb_display" ] && export DISPLAY=":$(cat "$xvfb_display")"
    fi
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        $WINE wineboot --init >/dev/null 2>&1 </dev/null
        # Without a window manager, unmanaged windows close at once.
        $WINE reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 </dev/null
        wineserver -w
    fi
    # A server of the previous run may still be on its way out: try again then.
    for attempt in 1 2 3 4 5; do
        if (wineserver -p && $WINE cmd /c exit) >/dev/null 2>&1 </dev/null; then exit 0; fi
        sleep 1
    done
    exit 1
    ;;
cleanup)
    (wineserver -k; wineserver -w) >/dev/null 2>&1 </dev/null || true
    if [ -s "$xvfb_pid" ]; then kill "$(cat "$xvfb_pid")" 2>/dev/null || true; fi
    rm -f "$xvfb_pid" "$xvfb_display"
    ;;
esac

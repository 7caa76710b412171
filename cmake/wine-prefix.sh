#!/bin/sh
# CTest fixture for the Windows tests: "setup" creates the build folder's
# private Wine prefix (once) and starts a persistent wineserver, "cleanup"
# stops it. Wine's service processes inherit the caller's output pipes, so
# everything here is detached from them, or CTest would wait for them.
set -e
export WINEPREFIX="$2"
. "$(dirname "$0")/wine-env.sh"
case "$1" in
setup)
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
    ;;
esac

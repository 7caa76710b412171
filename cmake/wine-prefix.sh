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
    (wineserver -p; $WINE cmd /c exit) >/dev/null 2>&1 </dev/null
    ;;
cleanup)
    wineserver -k >/dev/null 2>&1 </dev/null || true
    ;;
esac

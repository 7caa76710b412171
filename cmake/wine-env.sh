# Sourced by the Wine scripts after they set WINEPREFIX: picks the Wine loader this host can run.
# Debian's "wine" wrapper always goes through the 32-bit loader when wine32
# is installed; on a kernel without 32-bit support that loader cannot start,
# so 64-bit programs are run with the 64-bit loader directly and 32-bit ones
# cannot run at all.
# GLIMMER_WINEDEBUG lets a measuring script switch on a channel of its own.
export WINEDEBUG="${GLIMMER_WINEDEBUG:--all}" WINEDLLOVERRIDES="mscoree,mshtml="
if /usr/lib/wine/wine --version >/dev/null 2>&1; then
    WINE=wine
    WINE_RUNS_32BIT=yes
else
    WINE=/usr/lib/wine/wine64
    export WINELOADER=$WINE
    WINE_RUNS_32BIT=no
fi

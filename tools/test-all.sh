#!/bin/sh
# Builds all three presets and runs every test: natively with sanitizers,
# the fuzz targets for a bounded time each, and the Windows builds under
# Wine. Exits non-zero when any preset fails. The 64-bit build comes before
# the 32-bit one, whose installer ships its module.
set -u
cd "$(dirname "$0")/.."
tools/install-deps.sh || exit 1
jobs=$(nproc)
status=0
summary=""
for preset in native fuzz win64 win32; do
    echo "== $preset =="
    log="build/ctest-$preset.log"
    mkdir -p build
    if cmake --preset "$preset" >/dev/null && cmake --build --preset "$preset" -j "$jobs" >/dev/null; then
        ctest --preset "$preset" -j "$jobs" >"$log" 2>&1
        result=$?
        cat "$log"
        line=$(grep -E 'tests passed|tests failed' "$log" | tail -n 1)
    else
        result=1
        line="build failed"
    fi
    [ "$result" -eq 0 ] || status=1
    summary="$summary$preset: $line
"
done
echo "== summary =="
printf '%s' "$summary"
exit $status

# Sourced by the scripts that run the program under Wine.
#   wine_session TARGET...
# picks the build this host can run (the product is 32-bit; where the kernel
# cannot run 32-bit programs, the 64-bit build), builds the targets, starts the
# build folder's private Wine prefix (on a private Xvfb when there is no
# display), stops it when the script ends, and changes into the build folder.
# Sets root, preset, build and regsvr32 (the registrar of the build's bitness).
wine_session() {
    root=$PWD
    tools/install-deps.sh
    . cmake/wine-env.sh
    if [ "$WINE_RUNS_32BIT" = yes ]; then
        preset=win32 regsvr32='C:\windows\syswow64\regsvr32.exe'
    else
        preset=win64 regsvr32='C:\windows\system32\regsvr32.exe'
    fi
    build=$root/build/$preset
    cmake --preset $preset >/dev/null
    cmake --build --preset $preset -j "$(nproc)" --target "$@" >/dev/null
    echo "setting up the Wine prefix in build/$preset/wineprefix"
    # A server left running by an earlier run would refuse a new persistent one.
    cmake/wine-prefix.sh cleanup "$build/wineprefix"
    cmake/wine-prefix.sh setup "$build/wineprefix"
    trap '"$root/cmake/wine-prefix.sh" cleanup "$build/wineprefix"' EXIT
    cd "$build"
}

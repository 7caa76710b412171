# Shared by both mingw-w64 toolchain files. The -posix compilers are the ones
# with std::thread and std::mutex, which GoogleTest needs.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${GLIMMER_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${GLIMMER_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${GLIMMER_MINGW_TRIPLE}-windres)
set(GLIMMER_WIDL ${GLIMMER_MINGW_TRIPLE}-widl)
set(GLIMMER_OBJDUMP ${GLIMMER_MINGW_TRIPLE}-objdump)

set(CMAKE_FIND_ROOT_PATH /usr/${GLIMMER_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Everything a user copies must sit in the build folder: no libgcc,
# libstdc++ or winpthread DLLs beside the binaries.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# MinSizeRel does not strip by itself.
set(CMAKE_EXE_LINKER_FLAGS_MINSIZEREL_INIT "-s")
set(CMAKE_SHARED_LINKER_FLAGS_MINSIZEREL_INIT "-s")
set(CMAKE_MODULE_LINKER_FLAGS_MINSIZEREL_INIT "-s")

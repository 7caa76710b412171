# 64-bit Windows: so the sink also loads into a 64-bit Media Center host.
set(GLIMMER_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)

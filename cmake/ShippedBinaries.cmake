# glimmer_shipped_binary(<target>)
# A binary that users install. It loads on every Windows the program knows:
# Windows XP SP3 and later for 32-bit binaries, Windows XP x64 and later for
# 64-bit ones. Its PE header says so, the threads library's one newer import
# is bound at run time (platform/win32/tick_count_64_import.cpp), and a test
# compares every function it imports with the checked list
# tests/data/imports/<file name>.win32.txt or .win64.txt, whose entries name
# each function's documented minimum Windows.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(GLIMMER_OLDEST_WINDOWS 5.2)  # Windows XP x64
    set(GLIMMER_SHIPPED_FLAVOUR win64)
else()
    set(GLIMMER_OLDEST_WINDOWS 5.1)  # Windows XP
    set(GLIMMER_SHIPPED_FLAVOUR win32)
endif()

function(glimmer_shipped_binary target)
    string(REPLACE "." ";" oldest "${GLIMMER_OLDEST_WINDOWS}")
    list(GET oldest 0 major)
    list(GET oldest 1 minor)
    target_link_libraries(${target} PRIVATE glimmer_xp_imports)
    target_link_options(${target} PRIVATE
        -Wl,--major-subsystem-version,${major},--minor-subsystem-version,${minor}
        -Wl,--major-os-version,${major},--minor-os-version,${minor})
    if(GLIMMER_TESTS)
        add_test(NAME imports.${target}
                 COMMAND ${CMAKE_COMMAND} -DOBJDUMP=${GLIMMER_OBJDUMP} -DBINARY=$<TARGET_FILE:${target}>
                         -DLIST=${PROJECT_SOURCE_DIR}/tests/data/imports/$<TARGET_FILE_NAME:${target}>.${GLIMMER_SHIPPED_FLAVOUR}.txt
                         -DOLDEST=${GLIMMER_OLDEST_WINDOWS}
                         -P ${PROJECT_SOURCE_DIR}/cmake/check-imports.cmake)
    endif()
endfunction()

# glimmer_add_test(<name> SOURCES ... LIBS ... [RUN_UNDER command...])
# A GoogleTest program. Natively each case becomes a CTest test; a Windows
# program runs under Wine as one CTest test, in the build folder's private
# prefix that the "wine" fixture creates, and under RUN_UNDER where given (a
# command that serves the test and runs the rest of its command line).
include(GoogleTest)

if(WIN32 AND GLIMMER_TESTS)
    set(GLIMMER_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
    math(EXPR GLIMMER_WINDOWS_BITS "${CMAKE_SIZEOF_VOID_P} * 8")
    configure_file(${CMAKE_CURRENT_LIST_DIR}/wine-run.sh.in ${CMAKE_BINARY_DIR}/wine-run.sh
                   FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE
                   @ONLY)
    set(GLIMMER_WINE ${CMAKE_BINARY_DIR}/wine-run.sh)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${GLIMMER_WINE})
endif()

function(glimmer_wine_fixture)
    if(NOT TARGET glimmer_wine_fixture_defined)
        add_custom_target(glimmer_wine_fixture_defined)
        add_test(NAME wine.prefix.setup
                 COMMAND ${PROJECT_SOURCE_DIR}/cmake/wine-prefix.sh setup ${GLIMMER_WINEPREFIX})
        add_test(NAME wine.prefix.cleanup
                 COMMAND ${PROJECT_SOURCE_DIR}/cmake/wine-prefix.sh cleanup ${GLIMMER_WINEPREFIX})
        set_tests_properties(wine.prefix.setup PROPERTIES FIXTURES_SETUP wine)
        set_tests_properties(wine.prefix.cleanup PROPERTIES FIXTURES_CLEANUP wine)
    endif()
endfunction()

# The main of the Windows test programs: a run with a skipped case and no
# failure exits with the SKIP_RETURN_CODE below.
function(glimmer_wine_test_main)
    if(NOT TARGET glimmer_wine_test_main)
        add_library(glimmer_wine_test_main STATIC ${PROJECT_SOURCE_DIR}/tests/win/wine_test_main.cpp)
        target_include_directories(glimmer_wine_test_main PRIVATE ${PROJECT_SOURCE_DIR})
        target_link_libraries(glimmer_wine_test_main PUBLIC GTest::gtest)
    endif()
endfunction()

function(glimmer_add_test name)
    cmake_parse_arguments(T "" "" "SOURCES;LIBS;RUN_UNDER" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    if(WIN32)
        glimmer_wine_test_main()
        target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gmock glimmer_wine_test_main)
        glimmer_wine_fixture()
        if(T_RUN_UNDER)
            add_test(NAME ${name} COMMAND ${T_RUN_UNDER} ${GLIMMER_WINE} $<TARGET_FILE:${name}>)
        else()
            add_test(NAME ${name} COMMAND ${name})
        endif()
        # Skipped (77): a test program with a skipped case, and every 32-bit test
        # on a host that cannot run 32-bit programs.
        # The tests share one prefix, and with it one registry: one at a time.
        set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine SKIP_RETURN_CODE 77
                             RESOURCE_LOCK wineprefix TIMEOUT 300
                             WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
    else()
        target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gmock GTest::gtest_main)
        gtest_discover_tests(${name} DISCOVERY_TIMEOUT 30 PROPERTIES TIMEOUT 120)
    endif()
endfunction()

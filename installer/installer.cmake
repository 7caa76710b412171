# Glimmerbox-<version>-setup.exe, the one file a Windows user installs: the
# program, the 32-bit sink module and the 64-bit one. Included by the 32-bit
# build, which holds the program and the 32-bit module; the 64-bit module comes
# from the 64-bit build in GLIMMER_WIN64_DIR. Not part of "all", since it needs
# that other build: build the target "installer" after both (tools/build.sh does).
find_program(GLIMMER_MAKENSIS makensis REQUIRED)
set(GLIMMER_WIN64_DIR ${PROJECT_SOURCE_DIR}/build/win64 CACHE PATH "The 64-bit build, whose Glimmerbox.dll the installer ships")
# The program that the installer ships.
set(GLIMMER_INSTALLED_PROGRAM Glimmerbox)

# glimmer_add_installer(<target> <version x.y.z> <output file>)
function(glimmer_add_installer target version output)
    set(sink64 ${GLIMMER_WIN64_DIR}/Glimmerbox.dll)
    set(icon ${PROJECT_SOURCE_DIR}/app/win32/resources/glimmerbox.ico)
    add_custom_command(
        OUTPUT ${output}
        COMMAND ${GLIMMER_MAKENSIS} -V2 -WX -DVERSION=${version}
                -DPROGRAM=$<TARGET_FILE:${GLIMMER_INSTALLED_PROGRAM}>
                -DSINK32=$<TARGET_FILE:glimmerbox_sink> -DSINK64=${sink64} -DICON=${icon}
                -DOUTFILE=${output} ${PROJECT_SOURCE_DIR}/installer/glimmerbox.nsi
        DEPENDS ${PROJECT_SOURCE_DIR}/installer/glimmerbox.nsi ${GLIMMER_INSTALLED_PROGRAM} glimmerbox_sink ${sink64} ${icon}
        COMMENT "Building ${output}"
        VERBATIM)
    add_custom_target(${target} DEPENDS ${output})
endfunction()

set(GLIMMER_INSTALLER ${CMAKE_BINARY_DIR}/Glimmerbox-${PROJECT_VERSION}-setup.exe)
glimmer_add_installer(installer ${PROJECT_VERSION} ${GLIMMER_INSTALLER})

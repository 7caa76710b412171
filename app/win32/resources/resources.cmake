# glimmer_add_resources(<target>): the program's icon, image strip, version
# block and manifest (glimmerbox.rc), stamped with the project version.
set(GLIMMER_RESOURCES_DIR ${CMAKE_CURRENT_LIST_DIR})

function(glimmer_add_resources target)
    set(rc ${GLIMMER_RESOURCES_DIR}/glimmerbox.rc)
    target_sources(${target} PRIVATE ${rc})
    set_source_files_properties(${rc} PROPERTIES
        COMPILE_DEFINITIONS "GLIMMERBOX_VERSION_MAJOR=${PROJECT_VERSION_MAJOR};GLIMMERBOX_VERSION_MINOR=${PROJECT_VERSION_MINOR};GLIMMERBOX_VERSION_PATCH=${PROJECT_VERSION_PATCH}"
        OBJECT_DEPENDS "${GLIMMER_RESOURCES_DIR}/glimmerbox.ico;${GLIMMER_RESOURCES_DIR}/relation_marks.bmp;${GLIMMER_RESOURCES_DIR}/glimmerbox.manifest")
endfunction()

# The committed icon and image strip are exactly what draw_resources draws now.
file(REMOVE_RECURSE ${DRAWN})
file(MAKE_DIRECTORY ${DRAWN})
execute_process(COMMAND ${DRAW} ${DRAWN} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "draw_resources failed")
endif()
foreach(picture glimmerbox.ico relation_marks.bmp)
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${DRAWN}/${picture} ${COMMITTED}/${picture}
                    RESULT_VARIABLE different)
    if(different)
        message(FATAL_ERROR "${picture} differs from its drawing: run draw_resources ${COMMITTED}")
    endif()
endforeach()

# The committed bitmaps are exactly what tools/draw_bitmaps draws.
file(REMOVE_RECURSE ${OUT})
file(MAKE_DIRECTORY ${OUT})
# EMULATOR runs the generator when it is built for another system.
execute_process(COMMAND ${EMULATOR} ${GENERATOR} ${OUT} RESULT_VARIABLE drawn)
if(NOT drawn EQUAL 0)
    message(FATAL_ERROR "draw_bitmaps failed: ${drawn}")
endif()
foreach(name Kon_W.bmp Kon_W2.bmp Trelk_W.bmp Trelk.bmp)
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${ASSETS}/${name} ${OUT}/${name}
        RESULT_VARIABLE differs)
    if(differs)
        message(FATAL_ERROR "${name} is not what draw_bitmaps draws")
    endif()
endforeach()
message(STATUS "4 bitmaps reproduced")

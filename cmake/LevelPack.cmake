# Packs the level files into one binary file, so that a page gets all of them in one request:
# a text head "VKLEVELS 1", a line "NAME SIZE" per file and an empty line, then the files' bytes
# (app/web/levelpack.js reads it). Written beside OUT and renamed over it.
#   cmake -DOUT=levels.vkl -DFILES="a.vrk;b.vrk" -P LevelPack.cmake
set(head "VKLEVELS 1\n")
foreach(file ${FILES})
    get_filename_component(name ${file} NAME)
    file(SIZE ${file} size)
    string(APPEND head "${name} ${size}\n")
endforeach()
file(WRITE ${OUT}.head "${head}\n")
execute_process(COMMAND ${CMAKE_COMMAND} -E cat ${OUT}.head ${FILES} OUTPUT_FILE ${OUT}.tmp RESULT_VARIABLE failed)
file(REMOVE ${OUT}.head)
if(failed)
    file(REMOVE ${OUT}.tmp)
    message(FATAL_ERROR "cannot pack the levels into ${OUT}")
endif()
file(RENAME ${OUT}.tmp ${OUT})

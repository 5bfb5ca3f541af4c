# Splits PROGRAM into a stripped copy and its debug symbols, as Debian ships them: OUT_DIR gets
# the stripped program (linked to its symbols by build id and debuglink), NAME.debug with the
# symbols, and build-id.txt with the program's build id. Run with cmake -P.
get_filename_component(name ${PROGRAM} NAME)
set(debug ${OUT_DIR}/${name}.debug)
set(stripped ${OUT_DIR}/${name})
file(MAKE_DIRECTORY ${OUT_DIR})

execute_process(COMMAND readelf --notes ${PROGRAM} OUTPUT_VARIABLE notes COMMAND_ERROR_IS_FATAL ANY)
if(NOT notes MATCHES "Build ID: ([0-9a-f]+)")
    message(FATAL_ERROR "${PROGRAM} has no build id: link it with --build-id")
endif()
set(id ${CMAKE_MATCH_1})

execute_process(COMMAND objcopy --only-keep-debug --compress-debug-sections ${PROGRAM} ${debug}
                COMMAND_ERROR_IS_FATAL ANY)
# The debug file is data for the debugger, not a program.
file(CHMOD ${debug} PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
execute_process(COMMAND objcopy --strip-all --remove-section=.comment --remove-section=.note
                        --add-gnu-debuglink=${debug} ${PROGRAM} ${stripped}
                COMMAND_ERROR_IS_FATAL ANY)
file(WRITE ${OUT_DIR}/build-id.txt ${id})

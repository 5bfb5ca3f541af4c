# Runs PROGRAM with the arguments in ARGS (a ;-list) and no display in the environment, and
# checks its exit status against STATUS and its standard error against the regex STDERR.
# Run with cmake -P.
set(ENV{DISPLAY} "")
set(ENV{WAYLAND_DISPLAY} "")
unset(ENV{SDL_VIDEODRIVER})
execute_process(COMMAND ${PROGRAM} ${ARGS} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err
                TIMEOUT 5)
if(NOT status STREQUAL STATUS)
    message(FATAL_ERROR "${PROGRAM} ${ARGS}: status ${status}, expected ${STATUS}\nstdout: ${out}\nstderr: ${err}")
endif()
if(DEFINED STDERR AND NOT err MATCHES "${STDERR}")
    message(FATAL_ERROR "${PROGRAM} ${ARGS}: standard error does not match '${STDERR}':\n${err}")
endif()

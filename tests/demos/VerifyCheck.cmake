# Runs `vorkalith --verify DEMO` on the level files of LEVELS and compares the lines it prints with
# EXPECTED; with -DREBUILD=ON writes them into EXPECTED instead.
#   cmake -DVORKALITH=PROGRAM -DDEMO=FILE -DEXPECTED=FILE -DLEVELS=DIR [-DREBUILD=ON] -P VerifyCheck.cmake
execute_process(
    COMMAND ${VORKALITH} --levels ${LEVELS} --verify ${DEMO}
    RESULT_VARIABLE status
    OUTPUT_VARIABLE printed
    ERROR_VARIABLE errors)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "vorkalith --verify ${DEMO} ended with ${status}:\n${errors}")
endif()
if(REBUILD)
    # Written beside the file and renamed over it, so that a failure leaves the old one whole.
    file(WRITE ${EXPECTED}.tmp "${printed}")
    file(RENAME ${EXPECTED}.tmp ${EXPECTED})
    return()
endif()
file(READ ${EXPECTED} expected)
if(NOT printed STREQUAL expected)
    message(FATAL_ERROR "vorkalith --verify ${DEMO} printed\n${printed}instead of\n${expected}")
endif()

# Runs tembrel-sim with the arguments of one case file (one argument a line,
# @CASES@ standing for the cases folder) in a fresh working folder, and
# compares its exit status and its whole output with the expected ones.
#   cmake -DSIM=... -DCASE=name -DCASES_DIR=... -DWORK_DIR=... [-DEXPECTED_EXIT=2]
#         [-DEMULATOR=wine] -P RunSimCase.cmake
if(NOT DEFINED EXPECTED_EXIT)
    set(EXPECTED_EXIT 0)
endif()
file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")
file(STRINGS "${CASES_DIR}/${CASE}.args" args)
list(TRANSFORM args REPLACE "@CASES@" "${CASES_DIR}")
execute_process(COMMAND ${EMULATOR} "${SIM}" ${args}
                WORKING_DIRECTORY "${WORK_DIR}"
                RESULT_VARIABLE status
                OUTPUT_VARIABLE output
                ERROR_VARIABLE errors)
if(NOT status STREQUAL EXPECTED_EXIT)
    message(FATAL_ERROR "exit status ${status}, expected ${EXPECTED_EXIT}\n${errors}")
endif()
file(READ "${CASES_DIR}/${CASE}.expected" expected)
if(NOT output STREQUAL expected)
    file(WRITE "${WORK_DIR}/actual.txt" "${output}")
    message(FATAL_ERROR "output differs from ${CASE}.expected; it is in ${WORK_DIR}/actual.txt:\n"
                        "${output}")
endif()

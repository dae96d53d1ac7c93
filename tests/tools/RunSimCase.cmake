# Runs tembrel-sim with the arguments of one case file (one argument a line,
# @CASES@ standing for the cases folder, @WORK@ for the working folder) in a
# fresh working folder, and compares its exit status and its whole output
# with the expected ones. The working folder holds an empty folder named
# "Папка 文件夹", outside every ANSI code page, for a case to write into.
#   cmake -DSIM=... -DCASE=name -DCASES_DIR=... -DWORK_DIR=... [-DEXPECTED_EXIT=2]
#         [-DEMULATOR=wine] -P RunSimCase.cmake
if(NOT DEFINED EXPECTED_EXIT)
    set(EXPECTED_EXIT 0)
endif()
file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}/Папка 文件夹")
file(STRINGS "${CASES_DIR}/${CASE}.args" args ENCODING UTF-8)
list(TRANSFORM args REPLACE "@CASES@" "${CASES_DIR}")
list(TRANSFORM args REPLACE "@WORK@" "${WORK_DIR}")
set(run)
if(EMULATOR)
    # Wine turns the arguments into Windows' wide command line from the
    # locale's encoding: in UTF-8, every name reaches the program whole.
    set(run ${CMAKE_COMMAND} -E env LC_ALL=C.UTF-8 ${EMULATOR})
endif()
execute_process(COMMAND ${run} "${SIM}" ${args}
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

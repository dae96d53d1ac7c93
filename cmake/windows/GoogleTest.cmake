# For the Windows cross build, in place of CMake's GoogleTest module: each test
# program is one CTest test that runs all of its cases in one process, since
# starting a program under Wine costs far more than a case does.
function(gtest_discover_tests target)
    add_test(NAME ${target} COMMAND ${target} --gtest_brief=1)
endfunction()

function(gtest_add_tests)
    message(FATAL_ERROR "gtest_add_tests is not supported in the Windows build")
endfunction()

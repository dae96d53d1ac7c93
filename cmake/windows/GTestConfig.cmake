# GoogleTest for the Windows cross build: Debian ships its source, which is built
# here with the cross compiler (the installed libraries are for Linux).
if(NOT TARGET GTest::gtest)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
endif()

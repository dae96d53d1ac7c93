# Settings every target of the project shares: language level, warnings,
# Qt strictness. Targets link tembrel_common instead of touching global flags.
add_library(tembrel_common INTERFACE)
target_compile_features(tembrel_common INTERFACE cxx_std_20)
set(CMAKE_CXX_EXTENSIONS OFF)
# Warnings fail the build in CI and for developers (the presets turn this on),
# but not for a packager whose newer compiler may warn where ours does not.
# `cmake --compile-no-warning-as-error` overrides it for one configuration.
option(TEMBREL_WARNINGS_AS_ERRORS "Treat compiler warnings as errors" OFF)
if(TEMBREL_WARNINGS_AS_ERRORS)
    set(CMAKE_COMPILE_WARNING_AS_ERROR ON)
endif()

if(MSVC)
    target_compile_options(tembrel_common INTERFACE /W4)
else()
    target_compile_options(tembrel_common INTERFACE -Wall -Wextra)
    # GCC 12 and 13 report false overlaps in std::string's operator+ when
    # optimising (-Wrestrict, GCC bug 105329); the release build would fail on it.
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
        target_compile_options(tembrel_common INTERFACE -Wno-restrict)
    endif()
    target_compile_definitions(tembrel_common INTERFACE
        $<$<CONFIG:Debug>:_GLIBCXX_ASSERTIONS>)
endif()
# windows.h without its rarely used parts and without the min and max macros.
if(WIN32)
    target_compile_definitions(tembrel_common INTERFACE WIN32_LEAN_AND_MEAN NOMINMAX)
endif()
target_compile_definitions(tembrel_common INTERFACE
    QT_NO_CAST_FROM_ASCII QT_NO_CONTEXTLESS_CONNECT QT_NO_KEYWORDS)

option(TEMBREL_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
if(TEMBREL_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer
                        -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
endif()

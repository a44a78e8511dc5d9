# GoogleTest from Debian's source package, built with our toolchain.
set(GOOGLETEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources")
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${GOOGLETEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

include(GoogleTest)

# Every Windows executable runs under Wine through this script; the prefix
# lives in the build tree so a clean build starts from a clean prefix.
set(KESTRUNE_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix CACHE PATH "Wine prefix for tests")
set(CMAKE_CROSSCOMPILING_EMULATOR
    ${CMAKE_SOURCE_DIR}/tools/wine-run.sh;--prefix;${KESTRUNE_WINEPREFIX})

# kestrune_add_test(name source... [PROPERTIES prop value...] [LAUNCHER cmd...]):
# a GoogleTest executable linked with the program's library, its cases
# registered with ctest when the tests run. PROPERTIES go to every case (an
# ENVIRONMENT that a Wine process must have from its launch, a RESOURCE_LOCK,
# ...); LAUNCHER is a Unix command put in front of the Wine run (for example
# prlimit with its options).
function(kestrune_add_test name)
    cmake_parse_arguments(PARSE_ARGV 1 KT "" "" "PROPERTIES;LAUNCHER")
    add_executable(${name} ${KT_UNPARSED_ARGUMENTS})
    target_link_libraries(${name} PRIVATE kestrune_core GTest::gtest_main GTest::gmock)
    set(emulator ${KT_LAUNCHER} ${CMAKE_CROSSCOMPILING_EMULATOR})
    set_target_properties(${name} PROPERTIES CROSSCOMPILING_EMULATOR "${emulator}")
    gtest_discover_tests(${name}
        DISCOVERY_MODE PRE_TEST
        DISCOVERY_TIMEOUT 60
        PROPERTIES TIMEOUT 120 ${KT_PROPERTIES}
        WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
endfunction()

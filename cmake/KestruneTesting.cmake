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

# kestrune_add_test(name source...): a GoogleTest executable linked with the
# program's library, its cases registered with ctest when the tests run.
function(kestrune_add_test name)
    add_executable(${name} ${ARGN})
    target_link_libraries(${name} PRIVATE kestrune_core GTest::gtest_main GTest::gmock)
    set_target_properties(${name} PROPERTIES CROSSCOMPILING_EMULATOR "${CMAKE_CROSSCOMPILING_EMULATOR}")
    gtest_discover_tests(${name}
        DISCOVERY_MODE PRE_TEST
        DISCOVERY_TIMEOUT 60
        PROPERTIES TIMEOUT 120
        WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
endfunction()

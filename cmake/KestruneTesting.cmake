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

# Every case that runs under Wine takes one of the suite's lanes: a display
# and a set of Wine prefixes of its own, so that two cases can run at once
# without one's windows over the other's screen (tools/test-headless.sh runs
# two; each lane runs one case at a time). ctest hands the lane to the case
# in CTEST_RESOURCE_GROUP_0_LANES, which tools/wine-run.sh reads.
set(KESTRUNE_LANE RESOURCE_GROUPS lanes:1)
file(WRITE ${CMAKE_BINARY_DIR}/lanes.json
    "{\"version\": {\"major\": 1, \"minor\": 0},\n"
    " \"local\": [{\"lanes\": [{\"id\": \"1\", \"slots\": 1}, {\"id\": \"2\", \"slots\": 1}]}]}\n")

# kestrune_add_test(name source... [TIMEOUT seconds] [TEST_FILTER expr]
#                   [PROPERTIES prop value...] [LAUNCHER cmd...]):
# a GoogleTest executable linked with the program's library and the tests'
# support library, its cases registered with ctest when the tests run.
# TIMEOUT (default 120) bounds each case; the Wine run itself is ended ten
# seconds earlier, so a hanging case fails with the run's own message.
# PROPERTIES go to every case (an ENVIRONMENT that a Wine process must have
# from its launch, a RESOURCE_LOCK, ...); LAUNCHER is a Unix command put in
# front of the Wine run (for example prlimit with its options). TEST_FILTER
# (a --gtest_filter expression) registers only the cases it selects.
function(kestrune_add_test name)
    cmake_parse_arguments(PARSE_ARGV 1 KT "" "TIMEOUT;TEST_FILTER" "PROPERTIES;LAUNCHER")
    set(filter)
    if(KT_TEST_FILTER)
        set(filter TEST_FILTER ${KT_TEST_FILTER})
    endif()
    if(NOT KT_TIMEOUT)
        set(KT_TIMEOUT 120)
    endif()
    math(EXPR run_timeout "${KT_TIMEOUT} - 10")
    add_executable(${name} ${KT_UNPARSED_ARGUMENTS})
    target_link_libraries(${name} PRIVATE kestrune_test_main kestrune_test_support kestrune_core
                                          GTest::gtest GTest::gmock)
    set(emulator env KESTRUNE_RUN_TIMEOUT=${run_timeout} ${KT_LAUNCHER}
                 ${CMAKE_CROSSCOMPILING_EMULATOR})
    set_target_properties(${name} PROPERTIES CROSSCOMPILING_EMULATOR "${emulator}")
    gtest_discover_tests(${name}
        DISCOVERY_MODE PRE_TEST
        DISCOVERY_TIMEOUT 60
        ${filter}
        PROPERTIES TIMEOUT ${KT_TIMEOUT} ${KESTRUNE_LANE} ${KT_PROPERTIES}
        WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
endfunction()

# kestrune_add_readonly_fixture(target dir): before the target's cases whose
# names contain "ReadOnly", `dir` is made afresh with a Settings.ini holding
# Volume=37, and both are made immutable (chattr +i, which even root cannot
# write past); afterwards it is removed. Where the attribute cannot be set,
# the reason is left in dir/why-writable.txt for the case to report as its
# reason to skip.
function(kestrune_add_readonly_fixture target dir)
    set(fixture ${target}_readonly_dir)
    add_test(NAME ${fixture}_setup
        COMMAND sh -c "chattr -R -i '${dir}' 2>/dev/null; rm -rf '${dir}' && mkdir -p '${dir}' && printf '[Settings]\\r\\nVolume=37\\r\\n' > '${dir}/Settings.ini' && { out=$(chattr +i '${dir}/Settings.ini' '${dir}' 2>&1) || echo \"chattr +i refused: $out\" > '${dir}/why-writable.txt'; }")
    add_test(NAME ${fixture}_cleanup
        COMMAND sh -c "chattr -R -i '${dir}' 2>/dev/null; rm -rf '${dir}'")
    set_tests_properties(${fixture}_setup PROPERTIES FIXTURES_SETUP ${fixture})
    set_tests_properties(${fixture}_cleanup PROPERTIES FIXTURES_CLEANUP ${fixture})
    # The cases are discovered when ctest runs; only the read-only ones need the folder.
    file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/readonly_fixture.cmake
        "foreach(t IN LISTS ${target}_TESTS)\n"
        "  if(t MATCHES \"ReadOnly\")\n"
        "    set_tests_properties(\${t} PROPERTIES FIXTURES_REQUIRED ${fixture})\n"
        "  endif()\n"
        "endforeach()\n")
    set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES
        ${CMAKE_CURRENT_BINARY_DIR}/readonly_fixture.cmake)
endfunction()

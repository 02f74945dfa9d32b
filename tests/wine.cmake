# The tests of the Windows build run through Wine in a Wine prefix of the
# build folder's own (never the user's ~/.wine), made once before them.
set(KAZUNAVI_WINE_ENVIRONMENT
    WINEDEBUG=-all
    # Wine reads the Unix command line in the locale's encoding.
    LANG=C.UTF-8
    # No offer to install Mono or Gecko into the new prefix.
    WINEDLLOVERRIDES=mscoree,mshtml=)
# One run through the emulator rather than one per case. Wine makes windows
# only on an X server: the cases with windows run apart, in one of their own
# and a Wine prefix of their own (whose desktop process the first window of
# a prefix starts, with the display it finds, for all).
set(KAZUNAVI_WINDOWED_CASES "Win32WindowManager.*:Win32MessageBox.*")
add_test(NAME unit_tests COMMAND unit_tests --gtest_brief=1 --gtest_filter=-${KAZUNAVI_WINDOWED_CASES})
find_program(KAZUNAVI_XVFB_RUN xvfb-run REQUIRED)
add_test(NAME unit_tests_windowed
         COMMAND ${KAZUNAVI_XVFB_RUN} -a ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:unit_tests>
                 --gtest_brief=1 --gtest_filter=${KAZUNAVI_WINDOWED_CASES})

# A path beyond the ANSI code page reaches the runner whole.
file(WRITE "${CMAKE_CURRENT_BINARY_DIR}/シナリオ/開始.scn" "start\nexpect running\n")
add_test(NAME scenarios_in_a_japanese_folder
         COMMAND scenario-runner "${CMAKE_CURRENT_BINARY_DIR}/シナリオ")
set_tests_properties(scenarios_in_a_japanese_folder PROPERTIES
                     PASS_REGULAR_EXPRESSION "PASS [^\n]*開始.scn\n1 passed, 0 failed")

add_test(NAME wine_prefix COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} cmd /c exit)
set_tests_properties(wine_prefix PROPERTIES FIXTURES_SETUP wine_prefix)
get_property(kazunavi_wine_tests DIRECTORY PROPERTY TESTS)
foreach(test IN LISTS kazunavi_wine_tests)
    set_property(TEST ${test} PROPERTY ENVIRONMENT ${KAZUNAVI_WINE_ENVIRONMENT}
                                                   WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix)
    if(NOT test STREQUAL wine_prefix)
        set_property(TEST ${test} PROPERTY FIXTURES_REQUIRED wine_prefix)
    endif()
endforeach()
set_property(TEST unit_tests_windowed PROPERTY ENVIRONMENT ${KAZUNAVI_WINE_ENVIRONMENT}
                                               WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix-x11)
set_property(TEST unit_tests_windowed PROPERTY FIXTURES_REQUIRED)

# The window on a desktop of its own, in a Wine prefix of its own.
if(KAZUNAVI_GUI)
    add_test(NAME e2e_wine
             COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/e2e_wine.sh $<TARGET_FILE:kazunavi>
                     ${CMAKE_BINARY_DIR}/help/index.html)
    set_tests_properties(e2e_wine PROPERTIES LABELS e2e SKIP_RETURN_CODE 77 TIMEOUT 300)
endif()

# The scenario runner without its main(), shared with the unit tests.
set(KAZUNAVI_RUNNER_LIBRARY_SOURCES
    runner/check_commands.cpp
    runner/command_words.cpp
    runner/interpreter.cpp
    runner/platform_commands.cpp
    runner/program_commands.cpp
    runner/program_files.cpp
    runner/properties.cpp
    runner/scenario_files.cpp
    runner/scenario_syntax.cpp
    runner/targets.cpp
    runner/user_commands.cpp
    runner/value.cpp
    runner/value_text.cpp
    runner/variables.cpp)
# main() for each platform (KAZUNAVI_PLATFORM): Windows' reads wide arguments.
set(KAZUNAVI_RUNNER_MAIN_linux runner/main.cpp)
set(KAZUNAVI_RUNNER_MAIN_win32 runner/main_win32.cpp)
set(KAZUNAVI_RUNNER_SOURCES
    ${KAZUNAVI_RUNNER_LIBRARY_SOURCES}
    ${KAZUNAVI_RUNNER_MAIN_${KAZUNAVI_PLATFORM}})

set(KAZUNAVI_UNIT_TEST_SOURCES
    unit/event_wiring_test.cpp
    unit/keep_list_test.cpp
    unit/latest_browser_windows_test.cpp
    unit/platform_services_test.cpp
    unit/runner_syntax_test.cpp
    unit/runner_test.cpp
    )

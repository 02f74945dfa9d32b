# The tests of the portable code, built on every platform.
set(KAZUNAVI_UNIT_TEST_SOURCES
    unit/address_bar_test.cpp
    unit/clipboard_watcher_test.cpp
    unit/element_test.cpp
    unit/event_wiring_test.cpp
    unit/ini_document_test.cpp
    unit/keep_list_test.cpp
    unit/latest_browser_windows_test.cpp
    unit/runner_syntax_test.cpp
    unit/runner_test.cpp
    unit/view_sync_test.cpp
    )
# The tests of each platform's services (KAZUNAVI_PLATFORM).
set(KAZUNAVI_UNIT_TEST_SOURCES_linux
    unit/desktop_entry_test.cpp
    unit/firefox_history_test.cpp
    unit/firefox_session_test.cpp
    unit/ini_profile_test.cpp
    unit/platform_services_test.cpp
    )
set(KAZUNAVI_UNIT_TEST_SOURCES_win32
    unit/win32_services_test.cpp
    )

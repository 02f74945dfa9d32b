# Linux services that need no toolkit: files, the browser launcher, the
# program folder, the single-instance lock, the tick counter, Firefox's
# session store (liblz4 for its compression, nlohmann's JSON for its text) and
# its history (SQLite).
find_package(PkgConfig REQUIRED)
pkg_check_modules(KAZUNAVI_LZ4 REQUIRED IMPORTED_TARGET liblz4)
pkg_check_modules(KAZUNAVI_SQLITE REQUIRED IMPORTED_TARGET sqlite3)
find_package(nlohmann_json 3 REQUIRED)
add_library(kazunavi_linux STATIC
    ${CMAKE_CURRENT_LIST_DIR}/browser_command.cpp
    ${CMAKE_CURRENT_LIST_DIR}/browser_launcher.cpp
    ${CMAKE_CURRENT_LIST_DIR}/desktop_entry.cpp
    ${CMAKE_CURRENT_LIST_DIR}/firefox_history.cpp
    ${CMAKE_CURRENT_LIST_DIR}/firefox_session.cpp
    ${CMAKE_CURRENT_LIST_DIR}/firefox_sessions.cpp
    ${CMAKE_CURRENT_LIST_DIR}/instance_lock.cpp
    ${CMAKE_CURRENT_LIST_DIR}/lookup_module.cpp
    ${CMAKE_CURRENT_LIST_DIR}/monotonic_ticks.cpp
    ${CMAKE_CURRENT_LIST_DIR}/posix_file_store.cpp
    ${CMAKE_CURRENT_LIST_DIR}/program_folder.cpp)
target_link_libraries(kazunavi_linux PUBLIC kazunavi_common PkgConfig::KAZUNAVI_LZ4 ${CMAKE_DL_LIBS}
                                     PRIVATE nlohmann_json::nlohmann_json PkgConfig::KAZUNAVI_SQLITE)

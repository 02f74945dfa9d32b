# Linux services that need no toolkit: files, the browser launcher, the
# program folder, the single-instance lock, the tick counter, the background
# lookup of the browser windows.
add_library(kazunavi_linux STATIC
    ${CMAKE_CURRENT_LIST_DIR}/browser_command.cpp
    ${CMAKE_CURRENT_LIST_DIR}/browser_launcher.cpp
    ${CMAKE_CURRENT_LIST_DIR}/desktop_entry.cpp
    ${CMAKE_CURRENT_LIST_DIR}/instance_lock.cpp
    ${CMAKE_CURRENT_LIST_DIR}/latest_browser_windows.cpp
    ${CMAKE_CURRENT_LIST_DIR}/monotonic_ticks.cpp
    ${CMAKE_CURRENT_LIST_DIR}/posix_file_store.cpp
    ${CMAKE_CURRENT_LIST_DIR}/program_folder.cpp)
target_link_libraries(kazunavi_linux PUBLIC kazunavi_common)

# Windows services below the window: files, the browser step through the
# shell, the clipboard, the message box, the window manager, the program
# folder, the single-instance mutex, the tick counter, the beep, and Windows'
# own code page 932.
add_library(kazunavi_win32 STATIC
    ${CMAKE_CURRENT_LIST_DIR}/code_page.cpp
    ${CMAKE_CURRENT_LIST_DIR}/instance_mutex.cpp
    ${CMAKE_CURRENT_LIST_DIR}/message_beep.cpp
    ${CMAKE_CURRENT_LIST_DIR}/message_window.cpp
    ${CMAKE_CURRENT_LIST_DIR}/program_folder.cpp
    ${CMAKE_CURRENT_LIST_DIR}/shell_browser.cpp
    ${CMAKE_CURRENT_LIST_DIR}/system_ticks.cpp
    ${CMAKE_CURRENT_LIST_DIR}/wide_text.cpp
    ${CMAKE_CURRENT_LIST_DIR}/win32_clipboard.cpp
    ${CMAKE_CURRENT_LIST_DIR}/win32_desktop.cpp
    ${CMAKE_CURRENT_LIST_DIR}/win32_file_store.cpp
    ${CMAKE_CURRENT_LIST_DIR}/win32_message_box.cpp
    ${CMAKE_CURRENT_LIST_DIR}/win32_timer_host.cpp
    ${CMAKE_CURRENT_LIST_DIR}/win32_window_manager.cpp)
target_link_libraries(kazunavi_win32 PUBLIC kazunavi_common shlwapi)
# Unicode calls only; no min/max macros over the standard library's.
target_compile_definitions(kazunavi_win32 PUBLIC UNICODE _UNICODE NOMINMAX WIN32_LEAN_AND_MEAN)

# Windows services below the window: files, the browser step through the
# shell, the clipboard, the message box, the window manager, the program
# folder, the single-instance mutex, the tick counter, the beep, Windows' own
# code page 932, and the browser window in front through UI Automation (COM:
# ole32 and oleaut32).
add_library(kazunavi_win32 STATIC
    ${CMAKE_CURRENT_LIST_DIR}/code_page.cpp
    ${CMAKE_CURRENT_LIST_DIR}/instance_mutex.cpp
    ${CMAKE_CURRENT_LIST_DIR}/message_beep.cpp
    ${CMAKE_CURRENT_LIST_DIR}/message_window.cpp
    ${CMAKE_CURRENT_LIST_DIR}/program_folder.cpp
    ${CMAKE_CURRENT_LIST_DIR}/shell_browser.cpp
    ${CMAKE_CURRENT_LIST_DIR}/system_ticks.cpp
    ${CMAKE_CURRENT_LIST_DIR}/uia_browser_windows.cpp
    ${CMAKE_CURRENT_LIST_DIR}/uia_desktop.cpp
    ${CMAKE_CURRENT_LIST_DIR}/wide_text.cpp
    ${CMAKE_CURRENT_LIST_DIR}/win32_clipboard.cpp
    ${CMAKE_CURRENT_LIST_DIR}/win32_desktop.cpp
    ${CMAKE_CURRENT_LIST_DIR}/win32_file_store.cpp
    ${CMAKE_CURRENT_LIST_DIR}/win32_message_box.cpp
    ${CMAKE_CURRENT_LIST_DIR}/win32_timer_host.cpp
    ${CMAKE_CURRENT_LIST_DIR}/win32_window_manager.cpp)
target_link_libraries(kazunavi_win32 PUBLIC kazunavi_common PRIVATE ole32 oleaut32 shlwapi)
# Unicode calls only; no min/max macros over the standard library's.
target_compile_definitions(kazunavi_win32 PUBLIC UNICODE _UNICODE NOMINMAX WIN32_LEAN_AND_MEAN)

# The window on Windows: native controls and painted surfaces kept in step
# with the model, the skins, the help page beside the program.
add_library(kazunavi_ui_win32 STATIC
    ${CMAKE_CURRENT_LIST_DIR}/element_window.cpp
    ${CMAKE_CURRENT_LIST_DIR}/form_window.cpp
    ${CMAKE_CURRENT_LIST_DIR}/form_window_messages.cpp
    ${CMAKE_CURRENT_LIST_DIR}/form_windows.cpp
    ${CMAKE_CURRENT_LIST_DIR}/help_page.cpp
    ${CMAKE_CURRENT_LIST_DIR}/painting.cpp
    ${CMAKE_CURRENT_LIST_DIR}/skins.cpp)
target_link_libraries(kazunavi_ui_win32 PUBLIC kazunavi_shell kazunavi_win32 kazunavi_ui_common
                                               comctl32 gdi32)
# The calls of Windows 10 (the screen density of a window).
target_compile_definitions(kazunavi_ui_win32 PUBLIC _WIN32_WINNT=0x0A00 WINVER=0x0A00)

# The real services through Qt, and the real desktop that gathers them all.
add_library(kazunavi_qt STATIC
    ${CMAKE_CURRENT_LIST_DIR}/qt_clipboard.cpp
    ${CMAKE_CURRENT_LIST_DIR}/qt_desktop.cpp
    ${CMAKE_CURRENT_LIST_DIR}/qt_global_keys.cpp
    ${CMAKE_CURRENT_LIST_DIR}/qt_message_box.cpp
    ${CMAKE_CURRENT_LIST_DIR}/qt_timer_host.cpp
    ${CMAKE_CURRENT_LIST_DIR}/qt_window_manager.cpp
    ${CMAKE_CURRENT_LIST_DIR}/qt_x11_events.cpp)
set_target_properties(kazunavi_qt PROPERTIES AUTOMOC ON)
target_link_libraries(kazunavi_qt PUBLIC kazunavi_linux kazunavi_x11 Qt6::Widgets)

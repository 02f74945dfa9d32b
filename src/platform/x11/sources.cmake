# The X11 services through xcb: the clipboard selection, window titles and
# the active window.
find_package(PkgConfig REQUIRED)
pkg_check_modules(KAZUNAVI_XCB REQUIRED IMPORTED_TARGET GLOBAL xcb xcb-ewmh xcb-xfixes)
add_library(kazunavi_x11 STATIC
    ${CMAKE_CURRENT_LIST_DIR}/background_selection.cpp
    ${CMAKE_CURRENT_LIST_DIR}/clipboard_owner_watch.cpp
    ${CMAKE_CURRENT_LIST_DIR}/deferred_lookup.cpp
    ${CMAKE_CURRENT_LIST_DIR}/global_keys.cpp
    ${CMAKE_CURRENT_LIST_DIR}/selection_reader.cpp
    ${CMAKE_CURRENT_LIST_DIR}/x11_connection.cpp
    ${CMAKE_CURRENT_LIST_DIR}/x11_windows.cpp)
target_link_libraries(kazunavi_x11 PUBLIC kazunavi_linux PkgConfig::KAZUNAVI_XCB)

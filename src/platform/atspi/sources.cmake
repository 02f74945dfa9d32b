# The browser windows on the accessibility bus: GDBus for the calls, and of
# AT-SPI only its constants (headers).
pkg_check_modules(KAZUNAVI_GIO REQUIRED IMPORTED_TARGET GLOBAL gio-2.0)
pkg_check_modules(KAZUNAVI_ATSPI REQUIRED atspi-2)
add_library(kazunavi_atspi STATIC
    ${CMAKE_CURRENT_LIST_DIR}/accessibility_bus.cpp
    ${CMAKE_CURRENT_LIST_DIR}/accessible_browser_windows.cpp
    ${CMAKE_CURRENT_LIST_DIR}/front_browser_lookup.cpp)
target_link_libraries(kazunavi_atspi PUBLIC kazunavi_linux kazunavi_x11 PkgConfig::KAZUNAVI_GIO)
target_include_directories(kazunavi_atspi PRIVATE ${KAZUNAVI_ATSPI_INCLUDE_DIRS})

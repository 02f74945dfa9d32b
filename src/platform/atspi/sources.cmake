# The browser windows on the accessibility bus: GDBus for the calls, and of
# AT-SPI only its constants (headers).
pkg_check_modules(KAZUNAVI_GIO REQUIRED IMPORTED_TARGET GLOBAL gio-2.0)
pkg_check_modules(KAZUNAVI_ATSPI REQUIRED atspi-2)
add_library(kazunavi_atspi STATIC
    ${CMAKE_CURRENT_LIST_DIR}/accessibility_bus.cpp
    ${CMAKE_CURRENT_LIST_DIR}/front_browser_lookup.cpp)
target_link_libraries(kazunavi_atspi PUBLIC kazunavi_linux kazunavi_x11 PkgConfig::KAZUNAVI_GIO)
target_include_directories(kazunavi_atspi PRIVATE ${KAZUNAVI_ATSPI_INCLUDE_DIRS})
# The program loads it as the module kazunavi-lookup.so beside itself when it
# first needs it, so that none of GIO and SQLite is loaded at start. Its own
# copies of the libraries below stay hidden inside it.
add_library(kazunavi_lookup MODULE ${CMAKE_CURRENT_LIST_DIR}/lookup_module_entry.cpp)
target_link_libraries(kazunavi_lookup PRIVATE kazunavi_atspi)
set_target_properties(kazunavi_lookup PROPERTIES PREFIX "" OUTPUT_NAME kazunavi-lookup
                                                 CXX_VISIBILITY_PRESET hidden)
target_link_options(kazunavi_lookup PRIVATE -Wl,--exclude-libs,ALL)
foreach(linked kazunavi_platform kazunavi_common kazunavi_linux kazunavi_x11 kazunavi_atspi)
    set_target_properties(${linked} PROPERTIES POSITION_INDEPENDENT_CODE ON)
endforeach()

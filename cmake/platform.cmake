# The platform's own services and the window, picked here and nowhere else.
# KAZUNAVI_PLATFORM names the folder of the services (src/platform/<name>/),
# KAZUNAVI_PLATFORM_LIBRARY their library; the tests pick theirs by it.
if(WIN32)
    set(KAZUNAVI_PLATFORM win32)
else()
    set(KAZUNAVI_PLATFORM linux)
endif()
set(KAZUNAVI_PLATFORM_LIBRARY kazunavi_${KAZUNAVI_PLATFORM})
include(src/platform/${KAZUNAVI_PLATFORM}/sources.cmake)
# Portable, and tested with or without a window.
include(src/ui/common/sources.cmake)
if(WIN32 AND KAZUNAVI_GUI)
    include(src/ui/win32/sources.cmake)
    include(cmake/windows.cmake)
elseif(KAZUNAVI_GUI)
    find_package(Qt6 REQUIRED COMPONENTS Widgets)
    include(src/platform/x11/sources.cmake)
    include(src/platform/atspi/sources.cmake)
    include(src/platform/qt/sources.cmake)
    include(src/ui/qt/sources.cmake)
    add_executable(kazunavi src/main.cpp)
    target_link_libraries(kazunavi PRIVATE kazunavi_ui_qt)
    # Only what the program itself calls is loaded at start: SQLite comes
    # with the lookup module alone.
    target_link_options(kazunavi PRIVATE -Wl,--as-needed)
    add_dependencies(kazunavi kazunavi_lookup)
    include(cmake/install.cmake)
endif()

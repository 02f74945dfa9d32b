# The real window (Qt Widgets) and the real platform services (Qt and xcb).
set(KAZUNAVI_PLATFORM_QT_SOURCES
    src/platform/qt/element_views.cpp
    src/platform/qt/form_view.cpp
    src/platform/qt/form_views.cpp
    src/platform/qt/help_page.cpp
    src/platform/qt/qt_clipboard.cpp
    src/platform/qt/qt_desktop.cpp
    src/platform/qt/qt_message_box.cpp
    src/platform/qt/qt_timer_host.cpp
    src/platform/qt/qt_units.cpp
    src/platform/qt/qt_window_manager.cpp
    src/platform/qt/skins.cpp
    src/platform/x11/selection_reader.cpp
    src/platform/x11/x11_connection.cpp
    src/platform/x11/x11_windows.cpp
    ${KAZUNAVI_PLATFORM_ATSPI_SOURCES})

# The xcb libraries, the help page and the install rules belong to targets
# that exist only after this list is read: they follow at the end of the
# directory.
set(KAZUNAVI_PLATFORM_QT_TARGETS_FILE ${CMAKE_CURRENT_LIST_DIR}/targets.cmake)
cmake_language(DEFER CALL include ${KAZUNAVI_PLATFORM_QT_TARGETS_FILE})

# kazunavi.exe: the window on Windows, its resources (the icon made from the
# PNGs of share/icons with icotool, the manifest, the version) and its help
# page beside it.
enable_language(RC)
find_program(KAZUNAVI_ICOTOOL icotool REQUIRED)  # Debian package icoutils
set(KAZUNAVI_ICON ${CMAKE_BINARY_DIR}/kazunavi.ico)
set(kazunavi_icon_pngs ${CMAKE_SOURCE_DIR}/share/icons/kazunavi-48.png
                       ${CMAKE_SOURCE_DIR}/share/icons/kazunavi-128.png
                       ${CMAKE_SOURCE_DIR}/share/icons/kazunavi-256.png)
add_custom_command(OUTPUT ${KAZUNAVI_ICON}
                   COMMAND ${KAZUNAVI_ICOTOOL} -c -o ${KAZUNAVI_ICON} ${kazunavi_icon_pngs}
                   DEPENDS ${kazunavi_icon_pngs}
                   COMMENT "Making the program icon")
set(KAZUNAVI_MANIFEST ${CMAKE_SOURCE_DIR}/share/windows/kazunavi.manifest)
configure_file(${CMAKE_SOURCE_DIR}/share/windows/kazunavi.rc.in ${CMAKE_BINARY_DIR}/kazunavi.rc @ONLY)
set_source_files_properties(${CMAKE_BINARY_DIR}/kazunavi.rc PROPERTIES
                            OBJECT_DEPENDS "${KAZUNAVI_ICON};${KAZUNAVI_MANIFEST}")

add_executable(kazunavi WIN32 src/main_win32.cpp ${CMAKE_BINARY_DIR}/kazunavi.rc)
target_link_libraries(kazunavi PRIVATE kazunavi_ui_win32)
target_link_options(kazunavi PRIVATE -municode)

set(kazunavi_help_built ${CMAKE_BINARY_DIR}/help/index.html)
add_custom_command(OUTPUT ${kazunavi_help_built}
                   COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/share/help/index.html
                           ${kazunavi_help_built}
                   DEPENDS ${CMAKE_SOURCE_DIR}/share/help/index.html
                   COMMENT "Copying the help page beside kazunavi.exe")
add_custom_target(kazunavi_help ALL DEPENDS ${kazunavi_help_built})
add_dependencies(kazunavi kazunavi_help)

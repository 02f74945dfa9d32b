# The help page beside the program, and the install rules.
include(GNUInstallDirs)

# The help page lies beside the program, in help/index.html.
set(kazunavi_help_source ${CMAKE_SOURCE_DIR}/share/help/index.html)
set(kazunavi_help_built ${CMAKE_BINARY_DIR}/help/index.html)
add_custom_command(OUTPUT ${kazunavi_help_built}
                   COMMAND ${CMAKE_COMMAND} -E copy ${kazunavi_help_source} ${kazunavi_help_built}
                   DEPENDS ${kazunavi_help_source}
                   COMMENT "Copying the help page beside kazunavi")
add_custom_target(kazunavi_help ALL DEPENDS ${kazunavi_help_built})
add_dependencies(kazunavi kazunavi_help)

# Installed as lib/kazunavi/kazunavi with lib/kazunavi/help/index.html and the
# lookup module lib/kazunavi/kazunavi-lookup.so beside it, and bin/kazunavi a link to the program (the program finds its folder
# through the link).
set(kazunavi_install_dir ${CMAKE_INSTALL_LIBDIR}/kazunavi)
install(TARGETS kazunavi RUNTIME DESTINATION ${kazunavi_install_dir})
install(TARGETS kazunavi_lookup LIBRARY DESTINATION ${kazunavi_install_dir})
install(FILES ${kazunavi_help_source} DESTINATION ${kazunavi_install_dir}/help)
file(RELATIVE_PATH kazunavi_link_target
     ${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}
     ${CMAKE_INSTALL_PREFIX}/${kazunavi_install_dir}/kazunavi)
install(CODE "
    set(bin \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
    file(MAKE_DIRECTORY \"\${bin}\")
    file(CREATE_LINK \"${kazunavi_link_target}\" \"\${bin}/kazunavi\" SYMBOLIC)
    message(STATUS \"Linking: \${bin}/kazunavi\")")

# The desktop's menu entry, icon, software-centre metadata and manual page.
set(kazunavi_share ${CMAKE_SOURCE_DIR}/share)
install(FILES ${kazunavi_share}/org.kazunavi.Kazunavi.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${kazunavi_share}/org.kazunavi.Kazunavi.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${kazunavi_share}/icons/kazunavi.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 48 128 256)
    install(FILES ${kazunavi_share}/icons/kazunavi-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME kazunavi.png)
endforeach()
# Manual pages are installed compressed, as Debian's policy asks.
set(kazunavi_man ${CMAKE_BINARY_DIR}/kazunavi.1.gz)
add_custom_command(OUTPUT ${kazunavi_man}
                   COMMAND gzip -9nc ${kazunavi_share}/kazunavi.1 > ${kazunavi_man}
                   DEPENDS ${kazunavi_share}/kazunavi.1
                   COMMENT "Compressing the manual page")
add_custom_target(kazunavi_man ALL DEPENDS ${kazunavi_man})
add_dependencies(kazunavi kazunavi_man)
install(FILES ${kazunavi_man} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# A Debian package of what is installed: `cpack -G DEB` in the build folder.
# Its dependencies are the shared libraries the program links, as
# dpkg-shlibdeps finds them.
set(CPACK_PACKAGE_NAME kazunavi)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Kazunavi developers <kazunavi@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "step through sequentially numbered web pages")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "A small always-on-top window that steps the running number of a copied web\n address and sends the web browser to each new address.")
set(CPACK_DEBIAN_PACKAGE_SECTION web)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The Japanese interface needs a Japanese font, captions wider than their
# labels a narrow one; xdg-utils finds the default browser.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-ipafont-gothic, fonts-liberation, xdg-utils")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)

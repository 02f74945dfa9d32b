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

# Installed as lib/kazunavi/kazunavi with lib/kazunavi/help/index.html beside
# it, and bin/kazunavi a link to the program (the program finds its folder
# through the link).
set(kazunavi_install_dir ${CMAKE_INSTALL_LIBDIR}/kazunavi)
install(TARGETS kazunavi RUNTIME DESTINATION ${kazunavi_install_dir})
install(FILES ${kazunavi_help_source} DESTINATION ${kazunavi_install_dir}/help)
file(RELATIVE_PATH kazunavi_link_target
     ${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}
     ${CMAKE_INSTALL_PREFIX}/${kazunavi_install_dir}/kazunavi)
install(CODE "
    set(bin \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
    file(MAKE_DIRECTORY \"\${bin}\")
    file(CREATE_LINK \"${kazunavi_link_target}\" \"\${bin}/kazunavi\" SYMBOLIC)
    message(STATUS \"Linking: \${bin}/kazunavi\")")

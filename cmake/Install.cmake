# Install rules: the program, its manual page in section 1, and the README
# with the bundled example as documentation, laid out by GNUInstallDirs
# (bin/, share/man/man1/, share/doc/marlint/ under the prefix).

include(GNUInstallDirs)

install(TARGETS marlint RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# Debian and most distributions keep manual pages gzip-compressed; -n leaves
# the name and time stamp out, so the same page always gives the same bytes.
set(MARLINT_MANPAGE_SOURCE ${PROJECT_SOURCE_DIR}/doc/marlint.1)
find_program(MARLINT_GZIP gzip)
if(MARLINT_GZIP)
  set(MARLINT_MANPAGE ${PROJECT_BINARY_DIR}/doc/marlint.1.gz)
  add_custom_command(
    OUTPUT ${MARLINT_MANPAGE}
    COMMAND ${CMAKE_COMMAND} -E copy ${MARLINT_MANPAGE_SOURCE} ${PROJECT_BINARY_DIR}/doc/marlint.1
    COMMAND ${MARLINT_GZIP} -9 -n -f ${PROJECT_BINARY_DIR}/doc/marlint.1
    DEPENDS ${MARLINT_MANPAGE_SOURCE}
    COMMENT "Compressing the manual page"
    VERBATIM)
  add_custom_target(marlint_manpage ALL DEPENDS ${MARLINT_MANPAGE})
else()
  set(MARLINT_MANPAGE ${MARLINT_MANPAGE_SOURCE})
endif()
install(FILES ${MARLINT_MANPAGE} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES ${PROJECT_SOURCE_DIR}/examples/points.csv DESTINATION ${CMAKE_INSTALL_DOCDIR}/examples)

# Install rules, laid out by GNUInstallDirs, in two components:
# - program: bin/marlint, its manual page in section 1, and the README, the
#   changelog, the licence and the bundled example as documentation
#   (share/doc/marlint/);
# - development: the static library lib/libmarlint.a, the public headers
#   include/marlint/, the CMake package lib/cmake/marlint/ (the imported
#   target marlint::marlint), lib/pkgconfig/marlint.pc and the licence
#   (share/doc/libmarlint-dev/copyright).

include(CMakePackageConfigHelpers)

install(TARGETS marlint RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT program)

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
install(FILES ${MARLINT_MANPAGE} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT program)

install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/CHANGELOG.md
        DESTINATION ${CMAKE_INSTALL_DOCDIR} COMPONENT program)
# The licence, under the name and in the folder Debian gives it: one per
# package, since both may be installed side by side.
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION ${CMAKE_INSTALL_DOCDIR} RENAME copyright
        COMPONENT program)
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/libmarlint-dev
        RENAME copyright COMPONENT development)
install(FILES ${PROJECT_SOURCE_DIR}/examples/points.csv DESTINATION ${CMAKE_INSTALL_DOCDIR}/examples
        COMPONENT program)

# The library, and only the public headers: the internal ones stay in the
# source tree.
set(MARLINT_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/marlint)
install(TARGETS marlint_core EXPORT marlintTargets
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT development)
install(FILES ${PROJECT_SOURCE_DIR}/include/marlint/marlint.h
              ${PROJECT_BINARY_DIR}/include/marlint/version.h
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/marlint COMPONENT development)

# find_package(marlint CONFIG): the exported target, and a version file that
# accepts any request of the same major version.
install(EXPORT marlintTargets NAMESPACE marlint:: DESTINATION ${MARLINT_CMAKE_DIR}
        COMPONENT development)
write_basic_package_version_file(${PROJECT_BINARY_DIR}/marlintConfigVersion.cmake
                                 COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_SOURCE_DIR}/cmake/marlintConfig.cmake
              ${PROJECT_BINARY_DIR}/marlintConfigVersion.cmake
        DESTINATION ${MARLINT_CMAKE_DIR} COMPONENT development)

# pkg-config: marlint.pc finds the prefix from its own folder (${pcfiledir}),
# so an unpacked archive or a private root works wherever it lies. Folders
# given as absolute paths stay absolute.
if(IS_ABSOLUTE "${CMAKE_INSTALL_LIBDIR}")
  set(MARLINT_PC_PREFIX ${CMAKE_INSTALL_PREFIX})
else()
  file(RELATIVE_PATH MARLINT_PC_TO_PREFIX /prefix/${CMAKE_INSTALL_LIBDIR}/pkgconfig /prefix)
  string(REGEX REPLACE "/$" "" MARLINT_PC_TO_PREFIX ${MARLINT_PC_TO_PREFIX})
  set(MARLINT_PC_PREFIX "\${pcfiledir}/${MARLINT_PC_TO_PREFIX}")
endif()
foreach(folder LIBDIR INCLUDEDIR)
  if(IS_ABSOLUTE "${CMAKE_INSTALL_${folder}}")
    set(MARLINT_PC_${folder} ${CMAKE_INSTALL_${folder}})
  else()
    set(MARLINT_PC_${folder} "\${prefix}/${CMAKE_INSTALL_${folder}}")
  endif()
endforeach()
configure_file(${PROJECT_SOURCE_DIR}/cmake/marlint.pc.in ${PROJECT_BINARY_DIR}/marlint.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/marlint.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig
        COMPONENT development)

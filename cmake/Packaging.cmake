# Binary packages of what cmake/Install.cmake installs: a .tar.gz to unpack
# anywhere, holding both components, and two .deb packages split the Debian
# way, marlint (the program) and libmarlint-dev (the library for C++
# programs). The "package" workflow preset builds all three:
# cmake --workflow --preset package

set(MARLINT_PACKAGE_MAINTAINER "marlint maintainers <marlint-maintainers@example.org>"
    CACHE STRING "Name and e-mail address for the Maintainer field of the .deb packages")

set(CPACK_PACKAGE_NAME ${PROJECT_NAME})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "marlint maintainers")
set(CPACK_PACKAGE_CONTACT ${MARLINT_PACKAGE_MAINTAINER})
# Each .deb has its own description, summary line first; an empty common
# summary keeps CPack from putting the same one above both.
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "")
set(CPACK_GENERATOR "TGZ;DEB")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_CHECKSUM SHA256)
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)

# The archive unpacks into one folder named after the package, version and
# machine, holding bin/, include/, lib/ and share/.
set(CPACK_PACKAGE_FILE_NAME
    "${CPACK_PACKAGE_NAME}-${CPACK_PACKAGE_VERSION}-${CMAKE_SYSTEM_NAME}-${CMAKE_SYSTEM_PROCESSOR}")

# The .deb packages install under /usr and take their names
# (NAME_VERSION_ARCH.deb) and architecture from the Debian tools.
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL program development)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${MARLINT_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)

# marlint: the program, its manual page and documentation. Its dependencies
# come from dpkg-shlibdeps, which reads the shared libraries the binary
# really needs, however it was linked.
set(CPACK_DEBIAN_PROGRAM_PACKAGE_NAME marlint)
set(CPACK_DEBIAN_PROGRAM_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PROGRAM_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PROGRAM_DESCRIPTION "checks point files for a machine-tool data-collection system
marlint checks a point file (CSV) before a data-collection system reads data
from a machine-tool controller with it: the header line describing the
controller, then every point row column by column against fixed vocabularies
and ranges, then duplicate point names. It stops at the first fault and
writes exactly one result text, OK or one message, to a result file or
standard error, so that the program that generated the file can read it.")

# libmarlint-dev: the static library, its header, the CMake package and the
# pkg-config file. A static library needs nothing at run time, and a C++
# program that checks point files needs no marlint program.
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME libmarlint-dev)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_DEVELOPMENT_DESCRIPTION "library to check point files from C++ programs
The static library of marlint, with its header <marlint/marlint.h>, a CMake
package (find_package(marlint CONFIG), target marlint::marlint) and a
pkg-config file (marlint.pc). A C++ program checks point file bytes it holds
in memory, or a file by its path, and gets the same result text and status
as the marlint program gives, with the line, column and text of each fault,
without starting a process or writing a temporary file.")

# Only what a source package needs, should anyone make one with package_source.
set(CPACK_SOURCE_GENERATOR TGZ)
set(CPACK_SOURCE_IGNORE_FILES "/\\\\.git/" "/build/" "/out/" "\\\\.swp$")

include(CPack)

# Binary packages of what cmake/Install.cmake installs: a .tar.gz to unpack
# anywhere and a .deb for Debian and its derivatives. The "package" workflow
# preset builds both: cmake --workflow --preset package

set(MARLINT_PACKAGE_MAINTAINER "marlint maintainers <marlint-maintainers@example.org>"
    CACHE STRING "Name and e-mail address for the Maintainer field of the .deb package")

set(CPACK_PACKAGE_NAME ${PROJECT_NAME})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "marlint maintainers")
set(CPACK_PACKAGE_CONTACT ${MARLINT_PACKAGE_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "checks point files for a machine-tool data-collection system")
set(CPACK_PACKAGE_DESCRIPTION
    "marlint checks a point file (CSV) before a data-collection system reads data
from a machine-tool controller with it: the header line describing the
controller, then every point row column by column against fixed vocabularies
and ranges, then duplicate point names. It stops at the first fault and
writes exactly one result text, OK or one message, to a result file or
standard error, so that the program that generated the file can read it.")
set(CPACK_GENERATOR "TGZ;DEB")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_CHECKSUM SHA256)

# The archive unpacks into one folder named after the package, version and
# machine, holding bin/ and share/.
set(CPACK_PACKAGE_FILE_NAME
    "${CPACK_PACKAGE_NAME}-${CPACK_PACKAGE_VERSION}-${CMAKE_SYSTEM_NAME}-${CMAKE_SYSTEM_PROCESSOR}")

# The .deb installs under /usr and takes its name (marlint_VERSION_ARCH.deb),
# architecture and dependencies from the Debian tools: dpkg-shlibdeps reads
# the shared libraries the binary really needs, however it was linked.
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${MARLINT_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)

# Only what a source package needs, should anyone make one with package_source.
set(CPACK_SOURCE_GENERATOR TGZ)
set(CPACK_SOURCE_IGNORE_FILES "/\\\\.git/" "/build/" "/out/" "\\\\.swp$")

include(CPack)

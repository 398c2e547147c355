# Linux packages made by cpack from the install rules: a .deb and a .tar.gz
# holding the same tree (library, headers, CMake and pkg-config files, the
# calculator and its manual page). The .deb's dependencies are read from the
# binaries by dpkg-shlibdeps.
set(CPACK_PACKAGE_NAME tarq)
set(CPACK_PACKAGE_VENDOR "TARQ")
set(CPACK_PACKAGE_CONTACT "TARQ maintainers <tarq@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "arbitrary-precision arithmetic library and calculator")
set(CPACK_PACKAGE_DESCRIPTION
    "TARQ keeps decimal and binary floats, big integers and fractions in its own variable store behind 32-bit handles. This package holds libtarq.so and libtarq.a, the C and C++ headers, the CMake and pkg-config files, and the tarq calculator.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_GENERATOR DEB TGZ)
set(CPACK_PACKAGE_FILE_NAME tarq-${PROJECT_VERSION}-Linux-${CMAKE_SYSTEM_PROCESSOR})
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The shared library's own directory, so that dpkg-shlibdeps resolves the
# calculator's use of libtarq.so.0 to this package instead of failing.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${PROJECT_BINARY_DIR})
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "pkg-config")
include(CPack)

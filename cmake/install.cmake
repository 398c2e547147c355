# Linux installation: headers, the shared library with its soname, the
# self-contained static library, the calculator and its manual page, a
# pkg-config file and a CMake package exporting tarq::tarq and
# tarq::tarq_static. Every installed file names other installed files only
# relative to itself, so the installed tree can be moved as a whole.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

# libtarq.so -> libtarq.so.0 -> libtarq.so.0.x.y
set_target_properties(tarq PROPERTIES VERSION ${PROJECT_VERSION} SOVERSION ${PROJECT_VERSION_MAJOR})
target_include_directories(tarq INTERFACE $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)
target_include_directories(tarq_static INTERFACE $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)
set_target_properties(tarq_static PROPERTIES EXPORT_NAME tarq_static)

install(FILES ${PROJECT_SOURCE_DIR}/include/tarq.h ${PROJECT_SOURCE_DIR}/include/tarq.hpp
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(TARGETS tarq tarq_static EXPORT tarqTargets
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
        INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})

# The calculator has the library linked in (tools/tarq/CMakeLists.txt).
if(TARGET tarq_calc)
  install(TARGETS tarq_calc RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  configure_file(${PROJECT_SOURCE_DIR}/tools/tarq/tarq.1.in ${PROJECT_BINARY_DIR}/tarq.1 @ONLY)
  install(FILES ${PROJECT_BINARY_DIR}/tarq.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()

# CMake package: lib/cmake/tarq/
set(TARQ_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/tarq)
install(EXPORT tarqTargets NAMESPACE tarq:: DESTINATION ${TARQ_CMAKE_DIR})
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/tarqConfig.cmake.in
                              ${PROJECT_BINARY_DIR}/tarqConfig.cmake INSTALL_DESTINATION ${TARQ_CMAKE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/tarqConfigVersion.cmake
                                 COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/tarqConfig.cmake ${PROJECT_BINARY_DIR}/tarqConfigVersion.cmake
        DESTINATION ${TARQ_CMAKE_DIR})

# pkg-config: the prefix is found from the .pc file's own place.
file(RELATIVE_PATH TARQ_PC_TO_PREFIX /${CMAKE_INSTALL_LIBDIR}/pkgconfig /)
string(REGEX REPLACE "/$" "" TARQ_PC_TO_PREFIX "${TARQ_PC_TO_PREFIX}")
configure_file(${PROJECT_SOURCE_DIR}/cmake/tarq.pc.in ${PROJECT_BINARY_DIR}/tarq.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/tarq.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

# Installs the host SDK as a CMake package: find_package(OrvHost) gives the
# targets OrvHost::framework, OrvHost::data and OrvHost::datautils, and
# orvhost_plugin() for plug-in modules.
include(CMakePackageConfigHelpers)

set(ORV_PACKAGE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/OrvHost)
install(EXPORT OrvHostTargets NAMESPACE OrvHost:: DESTINATION ${ORV_PACKAGE_DIR})
string(REGEX MATCH "^[0-9]+" ORV_COMPILER_MAJOR "${CMAKE_CXX_COMPILER_VERSION}")
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/OrvHostConfig.cmake.in
  ${PROJECT_BINARY_DIR}/OrvHostConfig.cmake INSTALL_DESTINATION ${ORV_PACKAGE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/OrvHostConfigVersion.cmake
  VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/OrvHostConfig.cmake ${PROJECT_BINARY_DIR}/OrvHostConfigVersion.cmake
  ${PROJECT_SOURCE_DIR}/cmake/OrvHostPlugin.cmake DESTINATION ${ORV_PACKAGE_DIR})
if(WIN32)
  # Windows plug-ins are built with the compiler of the runtime the host ships.
  install(FILES ${PROJECT_SOURCE_DIR}/cmake/toolchains/mingw-w64-x86_64.cmake DESTINATION ${ORV_PACKAGE_DIR})
endif()

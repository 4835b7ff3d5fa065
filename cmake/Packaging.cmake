# The release archives: the installed SDK with the plug-in, and beside it the
# shipped binaries' debug information, packed by CPack (scripts/package).
# Both take their version from project(): nothing else names it.

# The module states its version in ReleaseInfo.h, which its resource script
# reads too; a release whose archive and module disagree is no release.
file(STRINGS ${PROJECT_SOURCE_DIR}/plugins/importer/solidworksimporter/ReleaseInfo.h module_version
  REGEX "^#define SWIMPORTER_VERSION \"")
if(NOT module_version STREQUAL "#define SWIMPORTER_VERSION \"${PROJECT_VERSION}\"")
  message(FATAL_ERROR "ReleaseInfo.h (${module_version}) disagrees with the project's version ${PROJECT_VERSION}")
endif()

if(WIN32)
  set(ORV_PACKAGE_SYSTEM win64)
  set(ORV_README_BIN "orvhost.exe, the host DLLs (framework, data, datautils,
             guistrings), and the C++ runtime DLLs that the host and every
             plug-in share")
  set(ORV_README_LIB "the import libraries of the host DLLs and of the module,
             and the CMake package lib/cmake/OrvHost")
else()
  set(ORV_PACKAGE_SYSTEM linux-${CMAKE_SYSTEM_PROCESSOR})
  set(ORV_README_BIN "orvhost")
  set(ORV_README_LIB "the host libraries, the Windows API pieces the SDK
             gives Linux plug-ins (OrvHost::platform, OrvHost::dllentry),
             and the CMake package lib/cmake/OrvHost")
endif()
set(ORV_PACKAGE_NAME solidworksimporter-${PROJECT_VERSION}-${ORV_PACKAGE_SYSTEM})
configure_file(${PROJECT_SOURCE_DIR}/docs/archive/README.txt.in ${PROJECT_BINARY_DIR}/README.txt @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/README.txt DESTINATION docs)
# What a plug-in author needs beside the SDK: every guide, and the sample.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/ DESTINATION docs FILES_MATCHING PATTERN "*.md" PATTERN "*.png"
  PATTERN archive EXCLUDE)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/samples/ DESTINATION samples)

# The licences of what ships besides this project's own code: the header-only
# libraries orvhost is built with and, on Windows, the MinGW runtime DLLs.
# Debian's copyright files hold their texts; GCC's refers to the GPL, which
# ships beside it.
set(licences cli11=/usr/share/doc/libcli11-dev/copyright nlohmann-json=/usr/share/doc/nlohmann-json3-dev/copyright)
if(WIN32)
  list(APPEND licences gcc-runtime=/usr/share/doc/gcc-mingw-w64-base/copyright GPL-3=/usr/share/common-licenses/GPL-3
    mingw-w64-runtime=/usr/share/doc/mingw-w64-x86-64-dev/copyright)
endif()
foreach(licence IN LISTS licences)
  string(REGEX MATCH "^([^=]*)=(.*)$" licence "${licence}")
  if(NOT EXISTS "${CMAKE_MATCH_2}")
    message(FATAL_ERROR "the licence of ${CMAKE_MATCH_1}, ${CMAKE_MATCH_2}, is missing: scripts/install-deps installs it")
  endif()
  install(FILES ${CMAKE_MATCH_2} DESTINATION licences RENAME ${CMAKE_MATCH_1}.txt)
endforeach()

option(ORV_RELEASE "Split the shipped binaries' debug information off, pack the archives and test them" OFF)
if(NOT ORV_RELEASE)
  return()
endif()

# Each installed binary keeps only a link to its debug information, which
# goes into <file>.debug and the debug archive. The build tree's binaries
# stay whole, for debugging there. The MinGW runtime DLLs come with theirs
# and are treated alike.
set(debug_dir ${PROJECT_BINARY_DIR}/debug)
set(split_commands)
# Splits binary (a path, perhaps a generator expression) named name, which is
# installed into destination.
function(orv_split_debug_information binary name destination)
  set(debug_file ${debug_dir}/${name}.debug)
  set(split_commands ${split_commands} COMMAND ${CMAKE_OBJCOPY} --only-keep-debug ${binary} ${debug_file} PARENT_SCOPE)
  install(FILES ${debug_file} DESTINATION ${destination} COMPONENT Debug)
  # Runs after every other install rule of this component, so on what was
  # installed, its run path already set.
  install(CODE "execute_process(COMMAND ${CMAKE_OBJCOPY} --strip-all --add-gnu-debuglink=${debug_file}
    \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${destination}/${name}\" COMMAND_ERROR_IS_FATAL ANY)")
endfunction()
foreach(target framework data datautils guistrings orvhost solidworksimporter)
  get_target_property(type ${target} TYPE)
  if(target STREQUAL "solidworksimporter")
    set(destination plugins)
  elseif(type STREQUAL "EXECUTABLE" OR WIN32)
    set(destination ${CMAKE_INSTALL_BINDIR})
  else()
    set(destination ${CMAKE_INSTALL_LIBDIR})
  endif()
  orv_split_debug_information($<TARGET_FILE:${target}> $<TARGET_FILE_NAME:${target}> ${destination})
endforeach()
foreach(dll IN LISTS ORV_MINGW_RUNTIME_DLLS)
  get_filename_component(name ${dll} NAME)
  orv_split_debug_information(${dll} ${name} ${CMAKE_INSTALL_BINDIR})
endforeach()
file(MAKE_DIRECTORY ${debug_dir})
add_custom_target(debug_information ALL ${split_commands} DEPENDS framework data datautils guistrings orvhost solidworksimporter
  VERBATIM)

# Two archives of one tree: unpacked into the same folder, the debug files
# land beside their binaries, where gdb looks for them.
if(WIN32)
  set(CPACK_GENERATOR ZIP)
else()
  set(CPACK_GENERATOR TGZ)
endif()
set(CPACK_PACKAGE_NAME solidworksimporter)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_SYSTEM_NAME ${ORV_PACKAGE_SYSTEM})
set(CPACK_PACKAGE_FILE_NAME ${ORV_PACKAGE_NAME})
set(CPACK_ARCHIVE_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL Unspecified Debug)
set(CPACK_ARCHIVE_UNSPECIFIED_FILE_NAME ${ORV_PACKAGE_NAME})
set(CPACK_ARCHIVE_DEBUG_FILE_NAME ${ORV_PACKAGE_NAME}-debug)
set(CPACK_COMPONENT_INCLUDE_TOPLEVEL_DIRECTORY ON)
# Entry times come from SOURCE_DATE_EPOCH, which scripts/package sets; the
# release presets fix the folders' modes, which would otherwise follow the
# packer's umask.
include(CPack)

set(ORV_PUBLIC_HEADER_DIRS ${PROJECT_SOURCE_DIR}/host/include ${PROJECT_SOURCE_DIR}/geometry/include)
enable_testing()
add_subdirectory(tests/release)

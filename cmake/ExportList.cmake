# A module's exported names come from one list file (one name per line, #
# starts a comment); both platforms' export lists are made from it.

# Reads the names of list_file into out_var.
function(orv_read_export_list list_file out_var)
  file(STRINGS ${list_file} lines)
  set(names)
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "#.*$" "" line "${line}")
    string(STRIP "${line}" line)
    if(line)
      list(APPEND names ${line})
    endif()
  endforeach()
  set(${out_var} ${names} PARENT_SCOPE)
endfunction()

# Restricts the exports of the module target to the listed names: a version
# script on Linux, a module-definition file on Windows. Client programs link
# to the module through the imported target <target>_imports: on Windows an
# import library made from the same .def, on Linux the module itself, named
# by its soname.
function(orv_export_only target list_file)
  orv_read_export_list(${list_file} names)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${list_file})
  add_library(${target}_imports SHARED IMPORTED GLOBAL)
  add_dependencies(${target}_imports ${target})
  if(WIN32)
    list(JOIN names "\n  " body)
    set(def ${CMAKE_CURRENT_BINARY_DIR}/${target}.def)
    file(CONFIGURE OUTPUT ${def} CONTENT "EXPORTS\n  ${body}\n")
    target_sources(${target} PRIVATE ${def})
    target_link_options(${target} PRIVATE -Wl,--exclude-all-symbols)

    set(import_library ${CMAKE_CURRENT_BINARY_DIR}/lib${target}.dll.a)
    add_custom_command(OUTPUT ${import_library}
      COMMAND ${CMAKE_DLLTOOL} --input-def ${def} --dllname $<TARGET_FILE_NAME:${target}>
        --output-lib ${import_library}
      DEPENDS ${def} VERBATIM)
    add_custom_target(${target}_import_library ALL DEPENDS ${import_library})
    add_dependencies(${target}_imports ${target}_import_library)
    set_target_properties(${target}_imports PROPERTIES IMPORTED_IMPLIB ${import_library})
  else()
    list(JOIN names ";\n    " body)
    set(map ${CMAKE_CURRENT_BINARY_DIR}/${target}.map)
    file(CONFIGURE OUTPUT ${map} CONTENT "{\n  global:\n    ${body};\n  local: *;\n};\n")
    set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${map})

    # The module's path from its output properties, which are set by now: an
    # imported location takes no generator expression.
    get_target_property(directory ${target} LIBRARY_OUTPUT_DIRECTORY)
    if(NOT directory)
      set(directory ${CMAKE_CURRENT_BINARY_DIR})
    endif()
    get_target_property(prefix ${target} PREFIX)
    if(prefix STREQUAL "prefix-NOTFOUND")
      set(prefix ${CMAKE_SHARED_MODULE_PREFIX})
    endif()
    set(file ${prefix}${target}${CMAKE_SHARED_MODULE_SUFFIX})
    target_link_options(${target} PRIVATE -Wl,--version-script=${map} -Wl,-soname,${file})
    set_target_properties(${target}_imports PROPERTIES IMPORTED_LOCATION ${directory}/${file} IMPORTED_SONAME ${file})
    # Clients in the build find the module where it is built (the Windows
    # tests are given WINEPATH); the build's search paths are otherwise the
    # installed ones, which name no folder of the build.
    set_property(TARGET ${target}_imports APPEND PROPERTY INTERFACE_LINK_OPTIONS "LINKER:-rpath,${directory}")
  endif()
endfunction()

# Sets out_var to the names in the symbol tables of files, as nm (with
# nm_options) lists them, whose type letter matches the regular expression
# types: "U" for the names the files import, "[^U]" for those they define.
function(orv_symbol_names nm nm_options files types out_var)
  execute_process(COMMAND ${nm} ${nm_options} ${files} OUTPUT_VARIABLE output RESULT_VARIABLE result ERROR_QUIET)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${nm} failed on ${files}")
  endif()
  string(REGEX MATCHALL "[^\n]+" lines "${output}")
  set(names)
  foreach(line IN LISTS lines)
    if(line MATCHES "^[0-9a-f ]* (${types}) ([^ ]+)$")
      list(APPEND names ${CMAKE_MATCH_2})
    endif()
  endforeach()
  set(${out_var} ${names} PARENT_SCOPE)
endfunction()

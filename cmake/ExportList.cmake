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

# Restricts target's exports to the listed names: a version script on Linux,
# a module-definition file on Windows.
function(orv_export_only target list_file)
  orv_read_export_list(${list_file} names)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${list_file})
  if(WIN32)
    list(JOIN names "\n  " body)
    set(def ${CMAKE_CURRENT_BINARY_DIR}/${target}.def)
    file(CONFIGURE OUTPUT ${def} CONTENT "EXPORTS\n  ${body}\n")
    target_sources(${target} PRIVATE ${def})
    target_link_options(${target} PRIVATE -Wl,--exclude-all-symbols)
  else()
    list(JOIN names ";\n    " body)
    set(map ${CMAKE_CURRENT_BINARY_DIR}/${target}.map)
    file(CONFIGURE OUTPUT ${map} CONTENT "{\n  global:\n    ${body};\n  local: *;\n};\n")
    target_link_options(${target} PRIVATE -Wl,--version-script=${map})
    set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${map})
  endif()
endfunction()

# The archive ARCHIVE holds exactly the files of MANIFEST and those of TREES
# ('|'-separated DEST=PATTERN: every file PATTERN finds, in or below its
# folder, goes below DEST), and its debug archive DEBUG_ARCHIVE a
# .debug file for each of its programs and shared libraries, all under the
# one top folder NAME; no file names a path of BUILD_PATHS; each shipped
# binary is stripped and links its debug file, and (on Linux) needs no newer
# glibc than HOST_LIBRARIES. Prints the module's (MODULE) size.
include(${CMAKE_CURRENT_LIST_DIR}/Unpack.cmake)

function(expect_files archive)
  unpack("${archive}")
  file(GLOB_RECURSE found LIST_DIRECTORIES false RELATIVE "${UNPACKED}/unpacked" "${UNPACKED}/unpacked/*")
  list(TRANSFORM ARGN PREPEND "${NAME}/" OUTPUT_VARIABLE expected)
  set(unexpected ${found})
  list(REMOVE_ITEM unexpected ${expected})
  set(missing ${expected})
  list(REMOVE_ITEM missing ${found})
  if(unexpected OR missing)
    list(JOIN unexpected "\n  " unexpected)
    list(JOIN missing "\n  " missing)
    message(FATAL_ERROR "${archive}:\nunexpected files:\n  ${unexpected}\nmissing files:\n  ${missing}")
  endif()
  remove_unpacked()
endfunction()

file(STRINGS "${MANIFEST}" files REGEX "^[^#]")
set(debug_files ${files})
list(FILTER debug_files INCLUDE REGEX "\\.(so|dll|exe)$|^bin/orvhost$")
list(TRANSFORM debug_files APPEND .debug)
string(REPLACE "|" ";" trees "${TREES}")
foreach(tree IN LISTS trees)
  string(REGEX MATCH "^([^=]+)=(.+)$" tree "${tree}")
  get_filename_component(base "${CMAKE_MATCH_2}" DIRECTORY)
  file(GLOB_RECURSE found RELATIVE "${base}" "${CMAKE_MATCH_2}")
  list(TRANSFORM found PREPEND "${CMAKE_MATCH_1}/")
  list(APPEND files ${found})
endforeach()
expect_files("${ARCHIVE}" ${files})
expect_files("${DEBUG_ARCHIVE}" ${debug_files})

# Both archives over one folder, as a user unpacks them for gdb.
unpack("${ARCHIVE}" "${DEBUG_ARCHIVE}")
string(REPLACE "|" ";-e;" build_paths "-e;${BUILD_PATHS}")
execute_process(COMMAND grep -rlF ${build_paths} "${UNPACKED}/unpacked" OUTPUT_VARIABLE leaks RESULT_VARIABLE result)
if(result EQUAL 0)
  message(FATAL_ERROR "these files name a path of the build (${BUILD_PATHS}):\n${leaks}")
endif()

function(objdump out_var)
  execute_process(COMMAND ${OBJDUMP} ${ARGN} OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE result)
  set(${out_var} "${result}: ${out}${err}" PARENT_SCOPE)
endfunction()
foreach(debug_file IN LISTS debug_files)
  string(REGEX REPLACE "\\.debug$" "" binary "${debug_file}")
  get_filename_component(debug_name "${debug_file}" NAME)
  objdump(sections -h "${ROOT}/${binary}")
  objdump(symbols -t "${ROOT}/${binary}")
  # objdump follows the link only to a file whose checksum matches.
  objdump(links --dwarf=links "${ROOT}/${binary}")
  string(FIND "${links}" "Separate debug info file: ${debug_name}\n" named)
  string(FIND "${links}" "Found separate debug info file: ${ROOT}/${debug_file}\n" found)
  if(NOT sections MATCHES "^0: " OR sections MATCHES "\\.debug_" OR NOT symbols MATCHES "no symbols"
      OR named EQUAL -1 OR found EQUAL -1)
    message(FATAL_ERROR "${binary} is not stripped with a link to ${debug_file}:\n${sections}${symbols}${links}")
  endif()
endforeach()

# newest: the newest glibc symbol version the binaries need; glibc: it with
# a symbol of that version.
function(newest_glibc)
  list(TRANSFORM ARGN PREPEND "${ROOT}/")
  objdump(dynamic -T ${ARGN})
  if(NOT dynamic MATCHES "^0: ")
    message(FATAL_ERROR "the dynamic symbols of ${ARGN} cannot be read:\n${dynamic}")
  endif()
  string(REGEX MATCHALL "\\(GLIBC_[0-9.]+\\)[ \t]+[^\n]+" references "${dynamic}")
  set(newest 0)
  foreach(reference IN LISTS references)
    string(REGEX MATCH "GLIBC_([0-9.]+)\\)[ \t]+(.+)" ignored "${reference}")
    if(CMAKE_MATCH_1 VERSION_GREATER newest)
      set(newest ${CMAKE_MATCH_1})
      set(glibc "GLIBC_${CMAKE_MATCH_1} (${CMAKE_MATCH_2})" PARENT_SCOPE)
    endif()
  endforeach()
  set(newest ${newest} PARENT_SCOPE)
endfunction()
# No shipped binary needs a newer glibc than the host libraries
# (HOST_LIBRARIES): on a system where the host runs, every part of it loads.
if(HOST_LIBRARIES)
  string(REPLACE "|" ";" host_libraries "${HOST_LIBRARIES}")
  # The host libraries together set the limit for every shipped binary.
  newest_glibc(${host_libraries})
  set(limit ${newest})
  foreach(binary IN LISTS debug_files)
    string(REGEX REPLACE "\\.debug$" "" binary "${binary}")
    newest_glibc("${binary}")
    if(newest VERSION_GREATER limit)
      string(APPEND newer "\n  ${binary} needs ${glibc}")
    endif()
  endforeach()
  if(newer)
    message(FATAL_ERROR "binaries that need a newer glibc than the host libraries' ${limit}:${newer}")
  endif()
  message("every shipped binary does with the host libraries' glibc ${limit}")
endif()

file(SIZE "${ROOT}/${MODULE}" size)
message("the module ${MODULE} in ${NAME}: ${size} bytes")
remove_unpacked()

cmake_minimum_required(VERSION 3.25)
# Checks that a test program takes the listed C++ operations (the mangled
# names in LIST) from the module: its own OBJECTS define none of them, and
# PROGRAM imports each but those in LOOKED_UP, which it finds by name at run
# time. (A MinGW program also holds the import library's jump stubs, under
# the operations' names; hence the objects, not the program, are searched
# for definitions.)
include(${CMAKE_CURRENT_LIST_DIR}/../../cmake/ExportList.cmake)
orv_symbol_names(${NM} "" "${OBJECTS}" "[^U]" defined)
orv_symbol_names(${NM} "" ${PROGRAM} "U" imported)
# On Windows a program imports X through its import address slot __imp_X.
orv_symbol_names(${NM} "" ${PROGRAM} "[^U]" slots)
list(FILTER slots INCLUDE REGEX "^__imp_")
list(TRANSFORM slots REPLACE "^__imp_" "")
list(APPEND imported ${slots})

orv_read_export_list(${LIST} operations)
list(FILTER operations INCLUDE REGEX "^_Z")
set(problems)
foreach(name IN LISTS operations)
  if(name IN_LIST defined)
    list(APPEND problems "the test code defines ${name}")
  elseif(NOT name IN_LIST imported AND NOT name IN_LIST LOOKED_UP)
    list(APPEND problems "${PROGRAM} does not import ${name}")
  endif()
endforeach()
if(problems)
  list(JOIN problems "\n  " problems)
  message(FATAL_ERROR "\n  ${problems}")
endif()
list(LENGTH operations count)
message(STATUS "all ${count} operations come from the module")

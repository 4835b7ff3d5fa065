# Compares the names MODULE exports (a Linux module's defined dynamic symbols,
# a DLL's export table) with the names in LIST, and their number with COUNT.
include(${CMAKE_CURRENT_LIST_DIR}/../../cmake/ExportList.cmake)
if(MODULE MATCHES "\\.dll$")
  execute_process(COMMAND ${OBJDUMP} -p ${MODULE} OUTPUT_VARIABLE dump COMMAND_ERROR_IS_FATAL ANY)
  string(REGEX MATCH "\\[Ordinal/Name Pointer\\] Table\n(\t[^\n]+\n)*" table "${dump}")
  string(REGEX MATCHALL "\\[ *[0-9]+\\] [^\n]+" exported "${table}")
  list(TRANSFORM exported REPLACE "^\\[ *[0-9]+\\] " "")
  # As many addresses as names: no export without a name.
  if(NOT dump MATCHES "Export Address Table[ \t]+([0-9a-f]+)\n\t\\[Name Pointer/Ordinal\\] Table\t([0-9a-f]+)"
      OR NOT CMAKE_MATCH_1 STREQUAL CMAKE_MATCH_2)
    message(FATAL_ERROR "the export table has unnamed entries, or none:\n${dump}")
  endif()
else()
  orv_symbol_names(${NM} "-D;--defined-only" ${MODULE} "[A-Za-z]" exported)
endif()
orv_read_export_list(${LIST} expected)
list(SORT exported)
list(SORT expected)
list(LENGTH exported count)
if(NOT exported STREQUAL expected OR NOT count EQUAL COUNT)
  message(FATAL_ERROR "${count} exports, not ${COUNT}, or not those listed\n"
    "  exported: ${exported}\n  expected: ${expected}")
endif()

# What every orvhost scenario shares; included first, with cmake -P.
# ORVHOST: the program; EMULATOR: what runs it, '|'-separated (empty when
# native); WORK: the scenario's own folder, made afresh.
string(REPLACE "|" ";" emulator "${EMULATOR}")
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")

# orvhost(<status> <argument>... [OUT <regex>...] [ERR <regex>...] [NO_OUT <regex>...] [NO_ERR <regex>...])
# Runs orvhost in WORK, with the environment settings of ORVHOST_ENV, and fails the scenario unless it ends with <status>,
# each OUT and ERR pattern matches its standard output or error, and no NO_OUT or NO_ERR pattern matches its stream.
function(orvhost status)
  cmake_parse_arguments(PARSE_ARGV 1 run "" "" "OUT;ERR;NO_OUT;NO_ERR")
  execute_process(COMMAND "${CMAKE_COMMAND}" -E env ${ORVHOST_ENV} ${emulator} "${ORVHOST}" ${run_UNPARSED_ARGUMENTS}
    WORKING_DIRECTORY "${WORK}" RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
  string(REPLACE "\r\n" "\n" OUT "${out}")
  string(REPLACE "\r\n" "\n" ERR "${err}")
  string(REGEX REPLACE "^status ${status}$" "" wrong "status ${result}")  # unless it is the one expected
  foreach(kind OUT ERR NO_OUT NO_ERR)
    string(REPLACE NO_ "" stream ${kind})
    foreach(pattern IN LISTS run_${kind})
      if(NOT ${stream} MATCHES "${pattern}" AND NOT kind MATCHES "^NO_"
          OR ${stream} MATCHES "${pattern}" AND kind MATCHES "^NO_")
        list(APPEND wrong "${kind} ${pattern}")
      endif()
    endforeach()
  endforeach()
  if(wrong)
    message(FATAL_ERROR "orvhost ${run_UNPARSED_ARGUMENTS}: ${wrong}\n--- stdout:\n${OUT}--- stderr:\n${ERR}---")
  endif()
endfunction()

# Twelve orvhost processes at once, each setting another option in the same
# settings file: every change is kept, since each save locks the file and
# writes only its own changes into the file as it stands.
include(${CMAKE_CURRENT_LIST_DIR}/Orvhost.cmake)

# The file exists, as a user's does: every option is stored, and each run
# writes all twelve back.
orvhost(0 --settings orvhost.ini options reset)

set(assignments
  "Import construction and references=true" "Import Hidden Components and Surfaces=true" "Read Solids=false"
  "Import Surfaces=false" "Set PMI Color=true" "Pmi Color=#00FF80" "Read Wireframes=false" "Read Attributes=false"
  "Set Tessellation Level=High" "Set Reading Mode=Exact geometry only" "Read PMI=false" "Import Curves=true")
set(stored
  "Import construction and references=1" "Import Hidden Components and Surfaces=1" "Read Solids=0"
  "Import Surfaces=0" "Set PMI Color=1" "Pmi Color=8453888" "Read Wireframes=0" "Read Attributes=0"
  "Set Tessellation Level=3" "Set Reading Mode=1" "Read PMI=0" "Import Curves=1")

# execute_process runs its commands at once; each keeps its output to itself.
set(commands)
set(n 0)
foreach(assignment IN LISTS assignments)
  list(APPEND commands COMMAND sh -c "exec \"$@\" <\"/dev/null\" >\"$0.out\" 2>\"$0.err\"" "${WORK}/run${n}"
    ${emulator} "${ORVHOST}" --settings orvhost.ini options set "${assignment}")
  math(EXPR n "${n} + 1")
endforeach()
execute_process(${commands} WORKING_DIRECTORY "${WORK}" RESULTS_VARIABLE results)

set(n 0)
foreach(result IN LISTS results)
  if(NOT result STREQUAL "0")
    file(READ "${WORK}/run${n}.err" err)
    list(GET assignments ${n} assignment)
    message(FATAL_ERROR "orvhost options set \"${assignment}\" ended with ${result}:\n${err}")
  endif()
  math(EXPR n "${n} + 1")
endforeach()

file(READ "${WORK}/orvhost.ini" content)
string(REPLACE "\r\n" "\n" content "${content}")
set(lost)
foreach(line IN LISTS stored)
  string(FIND "${content}" "\n${line}\n" at)
  if(at LESS 0)
    list(APPEND lost "${line}")
  endif()
endforeach()
if(lost)
  list(LENGTH lost count)
  message(FATAL_ERROR "${count} of 12 changes were lost: ${lost}\n${content}")
endif()
file(GLOB left "${WORK}/*.tmp")
if(left)
  message(FATAL_ERROR "the saves left ${left}")
endif()

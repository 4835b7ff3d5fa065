# Compares the binary interface of LIBRARY with the baseline BASELINE; with
# ORV_ABI_UPDATE=1 in the environment (scripts/package --update-abi), writes
# LIBRARY's interface to BASELINE instead. ABIDW and ABIDIFF are the tools,
# HEADER_DIRS ('|'-separated) the public headers, CURRENT the file for the
# built library's interface. COMPILER names the compiler and its major
# version, as COMPILER_FILE records the baseline's.
if(NOT ABIDW OR NOT ABIDIFF)
  message(FATAL_ERROR "abidw or abidiff is missing: scripts/install-deps linux installs them")
endif()
# Nothing of the machine: file names without their folders, no source lines
# (a comment moves those), no private types; type ids from the types, so that
# a change shows where it is.
string(REPLACE "|" ";--headers-dir;" headers "--headers-dir;${HEADER_DIRS}")
set(options --no-corpus-path --no-comp-dir-path --no-show-locs --short-locs --no-elf-needed --drop-undefined-syms
  --type-id-style hash --drop-private-types ${headers})

set(output "${CURRENT}")
if("$ENV{ORV_ABI_UPDATE}" STREQUAL "1")
  set(output "${BASELINE}")
  file(WRITE "${COMPILER_FILE}" "${COMPILER}\n")
elseif(NOT EXISTS "${BASELINE}" OR NOT EXISTS "${COMPILER_FILE}")
  message(FATAL_ERROR "no baseline ${BASELINE}: scripts/package --update-abi writes it")
else()
  file(STRINGS "${COMPILER_FILE}" baseline_compiler LIMIT_COUNT 1)
  if(NOT baseline_compiler STREQUAL COMPILER)
    message("abi: skipped: the baseline was made by ${baseline_compiler}, this build by ${COMPILER}")
    return()
  endif()
endif()
execute_process(COMMAND ${ABIDW} ${options} --out-file "${output}" "${LIBRARY}" RESULT_VARIABLE result ERROR_VARIABLE err)
if(NOT result EQUAL 0)
  file(REMOVE "${output}")
  message(FATAL_ERROR "abidw failed on ${LIBRARY} (${result}):\n${err}")
endif()
if("$ENV{ORV_ABI_UPDATE}" STREQUAL "1")
  message(STATUS "wrote ${BASELINE}")
  return()
endif()

# Added functions and variables break nothing built against the baseline;
# any other difference does.
execute_process(COMMAND ${ABIDIFF} --no-added-syms "${BASELINE}" "${CURRENT}"
  RESULT_VARIABLE result OUTPUT_VARIABLE report ERROR_VARIABLE err)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${LIBRARY} breaks the binary interface of ${BASELINE} (abidiff: ${result}):\n${report}${err}"
    "If the break is deliberate, run scripts/package --update-abi and commit abi/ with it.")
endif()

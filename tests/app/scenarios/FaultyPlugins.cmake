# Plug-ins that throw, beside the real importer in one folder: each is
# reported with its module and message, the real importer serves all the
# same, and orvhost ends with its documented status, never with a crash.
include(${CMAKE_CURRENT_LIST_DIR}/Orvhost.cmake)
file(WRITE "${WORK}/part.sldprt" "part data\n")
file(MAKE_DIRECTORY "${WORK}/plugins" "${WORK}/alone")
set(faulty faulty_create_std faulty_create_own faulty_canimport_own faulty_destroy_unrelated)
foreach(module solidworksimporter ${faulty})
  set(from "${FIXTURES}/${module}${SUFFIX}")
  if(module STREQUAL "solidworksimporter")
    set(from "${MODULE}")
  endif()
  file(COPY_FILE "${from}" "${WORK}/plugins/${module}${SUFFIX}")
endforeach()

set(loading
  ERR "faulty_create_std\\${SUFFIX}: createPlugin failed: fixture fault in createPlugin\n"
  ERR "faulty_create_own\\${SUFFIX}: createPlugin failed: fixture fault in createPlugin\n"
  ERR "faulty_destroy_unrelated\\${SUFFIX}: destroyPlugin failed: unknown exception\n")
set(canImport ERR "faulty_canimport_own\\${SUFFIX}: canImport failed: fixture fault in canImport\n")
# command|status|modules that failed|what the real importer told
foreach(case
    "plugins|4|3|Faulty Importer\n.*SolidWorks Importer\n  identity"
    "filters|0|3|SolidWorks Importer\n  dialog filter: sldprt"
    "check part.sldprt|0|4|^part.sldprt: SolidWorks Importer\n$"
    "open part.sldprt|0|4|importer: SolidWorks Importer\n  document: loaded"
    "options|0|3|Read Solids +bool +true")
  string(REPLACE "|" ";" case "${case}")
  list(GET case 0 command)
  list(GET case 1 status)
  list(GET case 2 count)
  list(GET case 3 told)
  separate_arguments(command)
  set(also)
  if(count EQUAL 4)
    set(also ${canImport})
  endif()
  orvhost(${status} --plugin-dir plugins --settings s.ini ${command} OUT "${told}" ${loading} ${also})
  orvhost(${status} --plugin-dir plugins --settings s.ini ${command} --json)
  string(JSON failures LENGTH "${OUT}" failures)
  if(NOT failures EQUAL count)
    message(FATAL_ERROR "${command} --json: ${failures} failures, not ${count}\n${OUT}")
  endif()
endforeach()

# An importer that fails in every call a command makes leaves none in use.
file(COPY_FILE "${FIXTURES}/faulty_canimport_own${SUFFIX}" "${WORK}/alone/faulty_canimport_own${SUFFIX}")
orvhost(4 --plugin-dir alone check part.sldprt ${canImport})

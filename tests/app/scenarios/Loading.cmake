# The loader: a missing or empty folder, a file that is no module, modules
# short of entry points and plug-ins that throw, beside the real importer in
# one folder: each is reported with its module and message, the real
# importer serves all the same, and orvhost ends with its documented status.
include(${CMAKE_CURRENT_LIST_DIR}/Orvhost.cmake)
file(WRITE "${WORK}/part.sldprt" "part data\n")
file(MAKE_DIRECTORY "${WORK}/empty")
orvhost(3 --plugin-dir nowhere plugins ERR "no plug-in folder at [^\n]*nowhere")
orvhost(3 --plugin-dir empty check a.sldprt ERR "no plug-in modules \\(\\*${SUFFIX}\\) in ")

file(WRITE "${WORK}/plugins/notes${SUFFIX}" "only text\n")
file(COPY "${FIXTURES}/no_entry_points${SUFFIX}" "${FIXTURES}/create_only${SUFFIX}" DESTINATION "${WORK}/plugins")
orvhost(4 --plugin-dir plugins open part.sldprt ERR "no importer plug-in in [^\n]*plugins\n  [^\n]*create_only")
file(COPY "${MODULE}" "${FIXTURES}/faulty_create_own${SUFFIX}" "${FIXTURES}/faulty_canimport_own${SUFFIX}"
  "${FIXTURES}/faulty_destroy_unrelated${SUFFIX}" DESTINATION "${WORK}/plugins")
# command|status|what the real importer told
foreach(case "plugins|4|Faulty Importer\n.*SolidWorks Importer\n  identity" "filters|0|SolidWorks Importer\n  dialog filter"
    "check part.sldprt|0|^part.sldprt: SolidWorks Importer\n$" "open part.sldprt|0|document: loaded" "options|0|Read Solids")
  string(REGEX MATCH "^([^|]*)[|](.)[|](.*)$" case "${case}")
  set(status ${CMAKE_MATCH_2})
  set(told "${CMAKE_MATCH_3}")
  separate_arguments(command UNIX_COMMAND "${CMAKE_MATCH_1}")
  orvhost(${status} --plugin-dir plugins --settings s.ini ${command} OUT "${told}" ERR "notes\\${SUFFIX}: [^\n]+"
    ERR "no_entry_points\\${SUFFIX}: not a plug-in: it does not export createPlugin\n"
    ERR "create_only\\${SUFFIX}: not a plug-in: it does not export destroyPlugin\n"
    ERR "faulty_create_own\\${SUFFIX}: createPlugin failed: fixture fault in createPlugin\n"
    ERR "faulty_destroy_unrelated\\${SUFFIX}: destroyPlugin failed: unknown exception\n")
endforeach()
orvhost(4 --plugin-dir plugins plugins --json OUT "\"message\": \"[^\"]*faulty_create_own[^\"]*: createPlugin failed")
# An importer that fails in every call a command makes leaves none in use.
file(COPY "${FIXTURES}/faulty_canimport_own${SUFFIX}" DESTINATION "${WORK}/alone")
orvhost(4 --plugin-dir alone check part.sldprt ERR "faulty_canimport_own\\${SUFFIX}: canImport failed: fixture fault in canImport\n")

# Paths on their way to the loader and the document: a folder name beyond
# ASCII, a module's name in capitals (a module on Windows only) and on Linux
# a document name that is not UTF-8.
set(foreign "${WORK}/modulé-日本")
string(TOUPPER "second_importer${SUFFIX}" upper)
file(COPY "${MODULE}" DESTINATION "${foreign}")
file(COPY_FILE "${FIXTURES}/second_importer${SUFFIX}" "${foreign}/${upper}")
if(SUFFIX STREQUAL ".dll")
  orvhost(0 --plugin-dir "${foreign}" plugins OUT "^Second Importer\n.*modulé-日本.SECOND_IMPORTER.DLL\nSolidWorks")
else()
  orvhost(0 --plugin-dir "${foreign}" plugins OUT "^SolidWorks Importer\n.*modulé-日本/solidworksimporter.so\n$")
  string(ASCII 233 eAcute)  # é in Latin-1: no UTF-8
  file(WRITE "${WORK}/caf${eAcute}.sldprt" "part data\n")
  orvhost(0 --settings s.ini open "caf${eAcute}.sldprt" OUT "document: loaded")
endif()

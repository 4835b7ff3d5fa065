# The loader: a missing or empty folder, a file that is no module, modules
# short of entry points and plug-ins that throw, beside the real importer in
# one folder: each is reported with its module and message, the real
# importer serves all the same, and orvhost ends with its documented status.
include(${CMAKE_CURRENT_LIST_DIR}/Orvhost.cmake)
file(WRITE "${WORK}/part.sldprt" "part data\n")
orvhost(3 --plugin-dir nowhere plugins ERR "no plug-in folder at [^\n]*nowhere")
orvhost(3 --plugin-dir . check a.sldprt ERR "no plug-in modules \\(\\*${SUFFIX}\\) in ")

file(WRITE "${WORK}/plugins/notes${SUFFIX}" "only text\n")
file(COPY "${FIXTURES}/no_entry_points${SUFFIX}" "${FIXTURES}/create_only${SUFFIX}" DESTINATION "${WORK}/plugins")
orvhost(4 --plugin-dir plugins open part.sldprt ERR "no importer plug-in in [^\n]*plugins\n  [^\n]*create_only")
file(COPY "${MODULE}" "${FIXTURES}/faulty_create_own${SUFFIX}" "${FIXTURES}/faulty_canimport_own${SUFFIX}"
  "${FIXTURES}/faulty_destroy_unrelated${SUFFIX}" "${FIXTURES}/null_what_create${SUFFIX}"
  "${FIXTURES}/null_what_destroy${SUFFIX}" DESTINATION "${WORK}/plugins")
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
    ERR "faulty_destroy_unrelated\\${SUFFIX}: destroyPlugin failed: unknown exception\n"
    ERR "null_what_create\\${SUFFIX}: createPlugin failed: an exception whose what\\(\\) is null\n"
    ERR "null_what_destroy\\${SUFFIX}: destroyPlugin failed: an exception whose what\\(\\) is null\n")
endforeach()
# Importers that fail in every call a command makes leave none in use.
file(COPY "${FIXTURES}/faulty_canimport_own${SUFFIX}" "${FIXTURES}/null_what_canimport${SUFFIX}" DESTINATION "${WORK}/alone")
orvhost(4 --plugin-dir alone check part.sldprt ERR "faulty_canimport_own\\${SUFFIX}: canImport failed: fixture fault in canImport\n"
  ERR "null_what_canimport\\${SUFFIX}: canImport failed: an exception whose what\\(\\) is null\n")

# Filters that fill their buffer with no end are read no further than it.
file(COPY "${FIXTURES}/unterminated_filters${SUFFIX}" DESTINATION "${WORK}/unterminated")
orvhost(4 --plugin-dir unterminated filters ERR "getFileFilters failed: the dialog filter fills all 4096 characters")

# A module from a folder whose name is beyond ASCII.
file(COPY "${MODULE}" DESTINATION "${WORK}/modulé-日本")
orvhost(0 --plugin-dir "${WORK}/modulé-日本" plugins OUT "module: +[^\n]*modulé-日本.solidworksimporter\\${SUFFIX}\n$")

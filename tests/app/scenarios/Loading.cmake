# The loader: an empty folder (a missing one: Commands.cmake), a file that
# is no module, modules short of entry points and plug-ins that throw, beside
# the real importer in one folder: each is reported with its module and
# message, the real importer serves all the same, and orvhost ends with its
# documented status.
include(${CMAKE_CURRENT_LIST_DIR}/Orvhost.cmake)
file(WRITE "${WORK}/part.sldprt" "part data\n")
orvhost(3 --plugin-dir . check a.sldprt ERR "no plug-in modules \\(\\*${SUFFIX}\\) in ")

file(WRITE "${WORK}/plugins/notes${SUFFIX}" "only text\n")
file(MAKE_DIRECTORY "${WORK}/plugins/folder${SUFFIX}")
file(COPY "${FIXTURES}/fixture_exports${SUFFIX}" "${FIXTURES}/fixture_lone${SUFFIX}" DESTINATION "${WORK}/plugins")
orvhost(4 --plugin-dir plugins open part.sldprt ERR "no importer plug-in in [^\n]*plugins\n  [^\n]*fixture_lone")
file(COPY "${MODULE}" "${FIXTURES}/fixture_createPlugin_own${SUFFIX}" "${FIXTURES}/fixture_canImport_own${SUFFIX}"
  "${FIXTURES}/fixture_destroyPlugin_unrelated${SUFFIX}" "${FIXTURES}/fixture_createPlugin_null${SUFFIX}"
  "${FIXTURES}/fixture_destroyPlugin_null${SUFFIX}" DESTINATION "${WORK}/plugins")
# command|status|what the real importer told
foreach(case "plugins|4|Fixture Importer\n.*SolidWorks Importer\n  identity" "filters|0|SolidWorks Importer\n  dialog filter"
    "check part.sldprt|0|^part.sldprt: SolidWorks Importer\n$" "open part.sldprt|0|document: loaded" "options|0|Read Solids")
  string(REGEX MATCH "^([^|]*)[|](.)[|](.*)$" case "${case}")
  separate_arguments(command UNIX_COMMAND "${CMAKE_MATCH_1}")
  orvhost(${CMAKE_MATCH_2} --plugin-dir plugins --settings s.ini ${command} OUT "${CMAKE_MATCH_3}" ERR "notes\\${SUFFIX}: [^\n]+"
    ERR "folder\\${SUFFIX}: is a folder, not a module\n" NO_ERR "fixture_exports"
    ERR "fixture_lone\\${SUFFIX}: not a plug-in: it does not export destroyPlugin\n"
    ERR "fixture_createPlugin_own\\${SUFFIX}: createPlugin failed: fixture fault in createPlugin\n"
    ERR "fixture_destroyPlugin_unrelated\\${SUFFIX}: destroyPlugin failed: unknown exception\n"
    ERR "fixture_createPlugin_null\\${SUFFIX}: createPlugin failed: an exception whose what\\(\\) is null\n"
    ERR "fixture_destroyPlugin_null\\${SUFFIX}: destroyPlugin failed: an exception whose what\\(\\) is null\n")
endforeach()
# Importers that fail in every call a command makes leave none in use.
file(COPY "${FIXTURES}/fixture_canImport_own${SUFFIX}" "${FIXTURES}/fixture_canImport_null${SUFFIX}" DESTINATION "${WORK}/alone")
orvhost(4 --plugin-dir alone check part.sldprt ERR "fixture_canImport_own\\${SUFFIX}: canImport failed: fixture fault in canImport\n"
  ERR "fixture_canImport_null\\${SUFFIX}: canImport failed: an exception whose what\\(\\) is null\n")

# A library a plug-in brings along, with no entry points, is passed over
# without a failure; plugins --verbose lists it.
file(COPY "${MODULE}" "${LIBRARY}" DESTINATION "${WORK}/withlibrary")
get_filename_component(library "${LIBRARY}" NAME)
orvhost(0 --plugin-dir withlibrary plugins NO_ERR "." NO_OUT "passed over")
orvhost(0 --plugin-dir withlibrary plugins --verbose OUT "passed over, no plug-in entry points: [^\n]*${library}\n")

# Two modules of one importer both load, with a warning naming both;
# --importer with its name is refused, listing them.
file(MAKE_DIRECTORY "${WORK}/twice")
file(COPY_FILE "${FIXTURES}/fixture_pairing${SUFFIX}" "${WORK}/twice/a${SUFFIX}")
file(COPY_FILE "${FIXTURES}/fixture_pairing${SUFFIX}" "${WORK}/twice/b${SUFFIX}")
orvhost(0 --plugin-dir twice plugins ERR "warning: [^\n]*b\\${SUFFIX}: \"Second Importer\" has the identity of [^\n]*a\\${SUFFIX}")
orvhost(2 --plugin-dir twice --importer "Second Importer" plugins
  ERR "2 importers are named \"Second Importer\"; [^\n]*:\n  [^\n]*a\\${SUFFIX}\n  [^\n]*b\\${SUFFIX}\n")

# Filters that fill their buffer with no end are read no further than it.
file(COPY "${FIXTURES}/fixture_unterminated${SUFFIX}" DESTINATION "${WORK}/unterminated")
orvhost(4 --plugin-dir unterminated filters ERR "getFileFilters failed: the dialog filter fills all 4096 characters")

# A module from a folder whose name is beyond ASCII.
file(COPY "${MODULE}" DESTINATION "${WORK}/modulé-日本")
orvhost(0 --plugin-dir "${WORK}/modulé-日本" plugins OUT "module: +[^\n]*modulé-日本.solidworksimporter\\${SUFFIX}\n$")

# Without the host's GUI strings beside the framework, orvhost says so
# rather than show every option nameless (natively: a copy of the Linux tree).
if(NOT EMULATOR)
  get_filename_component(build "${ORVHOST}" DIRECTORY)
  file(GLOB libraries "${build}/../lib/lib*.so")
  list(FILTER libraries EXCLUDE REGEX "guistrings")
  file(COPY ${libraries} DESTINATION "${WORK}/bare/lib")
  file(COPY "${ORVHOST}" DESTINATION "${WORK}/bare/bin")
  set(ORVHOST "${WORK}/bare/bin/orvhost")
  orvhost(1 --plugin-dir plugins options ERR "GUI strings cannot be loaded: [^\n]*libguistrings.so: [^\n]+")
endif()

# A folder with two importers, each with options of its own: every name goes
# to the importer that has it, a name that neither has changes nothing, and
# --importer restricts a command to one importer.
include(${CMAKE_CURRENT_LIST_DIR}/Orvhost.cmake)
file(MAKE_DIRECTORY "${WORK}/plugins")
file(COPY_FILE "${MODULE}" "${WORK}/plugins/solidworksimporter${SUFFIX}")
file(COPY_FILE "${FIXTURES}/second_importer${SUFFIX}" "${WORK}/plugins/second_importer${SUFFIX}")
set(settings "${WORK}/s.ini")
set(run --plugin-dir plugins --settings s.ini)

orvhost(0 ${run} options set "Read Solids=false" "Mesh Only=true"
  OUT "Second Importer, options from [^\n]*\n  Mesh Only: false -> true\n" OUT "Read Solids: true -> false\n")
file(READ "${settings}" content)
string(REPLACE "\r\n" "\n" content "${content}")
if(NOT content MATCHES "\\[Fixture Import\\]\nMesh Only=1\n" OR NOT content MATCHES "\\[SolidWorks Import\\]\n[^[]*Read Solids=0\n")
  message(FATAL_ERROR "the settings file lacks an option that was set:\n${content}")
endif()

file(SHA256 "${settings}" saved)
orvhost(2 ${run} options set "Read Solids=true" "Mesh Density=3"
  ERR "no option is named \"Mesh Density\"; the options are:\n  Second Importer:\n    Mesh Only\n  SolidWorks Importer:\n"
  ERR "nothing was changed")
orvhost(2 ${run} --importer "Second Importer" options set "Read Solids=true"
  ERR "the options are:\n  Second Importer:\n    Mesh Only\nnothing was changed")
orvhost(2 ${run} --importer Nobody plugins ERR "no importer is named \"Nobody\"; the importers are:\n  Second Importer\n  SolidWorks Importer\n$")
expect_unchanged("${settings}" "${saved}")

orvhost(0 ${run} --importer "Second Importer" options reset OUT "Mesh Only: true -> false\n" NO_OUT "Read Solids")
orvhost(0 ${run} options --json)
expect_json("${OUT}" "Second Importer" importers 0 importer)
expect_json("${OUT}" "false" importers 0 options 0 value)
expect_json("${OUT}" "SolidWorks Importer" importers 1 importer)
expect_json("${OUT}" "Read Solids" importers 1 options 2 name)
expect_json("${OUT}" "false" importers 1 options 2 value)

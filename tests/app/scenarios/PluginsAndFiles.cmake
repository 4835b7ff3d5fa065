# What the importer tells of itself, its file-dialog filters, and which
# paths it takes.
include(${CMAKE_CURRENT_LIST_DIR}/Orvhost.cmake)

orvhost(0 plugins OUT "^SolidWorks Importer
  identity: +{[0-9A-F]+-[0-9A-F-]+}
  version: +6\\.7\\.0\\.120
  release date: +[^\n]+
  module: +[^\n]*solidworksimporter\\${SUFFIX}\n$")
orvhost(0 plugins --json)
expect_json("${OUT}" "SolidWorks Importer" plugins 0 name)
expect_json("${OUT}" "6.7.0.120" plugins 0 version)
expect_json("${OUT}" "[]" failures)

orvhost(0 filters OUT "dialog filter: sldprt[;]\\*\\.sldasm,SolidWorks Files\n"
  OUT "\\*\\.sldprt +SolidWorks Files +103 +CAD File Formats\n  \\*\\.sldasm +SolidWorks Files +103 +CAD File Formats\n"
  OUT "\\*\\.sldasm +SolidWorks Files +104 +All Supported Files\n$")
orvhost(0 filters --json)
string(JSON rows LENGTH "${OUT}" importers 0 filters)
if(NOT rows EQUAL 4)
  message(FATAL_ERROR "filters: ${rows} rows, not 4\n${OUT}")
endif()
expect_json("${OUT}" "*.sldprt" importers 0 filters 2 pattern)
expect_json("${OUT}" "104" importers 0 filters 2 group)
expect_json("${OUT}" "All Supported Files" importers 0 filters 3 groupName)

orvhost(0 check part.sldprt ASSY.SLDASM "folder.v2/Part.SldPrt"
  OUT "^part.sldprt: SolidWorks Importer\nASSY.SLDASM: SolidWorks Importer\nfolder.v2/Part.SldPrt: SolidWorks Importer\n$")
orvhost(5 check part.sldprt model.step part.sldprt.bak
  OUT "model.step: no importer accepts this file\npart.sldprt.bak: no importer accepts this file")
orvhost(5 check --json folder.sldprt/noextension)
expect_json("${OUT}" "OFF" allAccepted)
string(JSON type TYPE "${OUT}" paths 0 importer)
if(NOT type STREQUAL "NULL")
  message(FATAL_ERROR "a path no importer takes names an importer:\n${OUT}")
endif()

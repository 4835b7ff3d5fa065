# Each command with the real importer from the default folder (beside bin/,
# not the working folder's plugins/), and a bad command line told apart by
# its status.
include(${CMAKE_CURRENT_LIST_DIR}/Orvhost.cmake)
file(COPY "${FIXTURES}/faulty_create_own${SUFFIX}" DESTINATION "${WORK}/plugins")
file(WRITE "${WORK}/bracket.sldprt" "part data\n")

orvhost(0 --version OUT "^orvhost ${VERSION}\n$")
# arguments|what the error names
foreach(row "|subcommand" "frobnicate|frobnicate" "check|PATH" "options set|NAME=VALUE" "plugins --frobnicate|--frobnicate"
    "options --defaults set Read\\\\ Solids=0|--defaults" "options --defaults reset|--defaults")
  string(REGEX MATCH "^([^|]*)[|](.*)$" row "${row}")
  separate_arguments(arguments UNIX_COMMAND "${CMAKE_MATCH_1}")
  orvhost(2 ${arguments} ERR "${CMAKE_MATCH_2}")
endforeach()

orvhost(0 plugins OUT "^SolidWorks Importer\n  identity: +{[0-9A-F-]+}\n  version: +6\\.7\\.0\\.120\n.*solidworksimporter\\${SUFFIX}\n$")
orvhost(0 filters OUT "dialog filter: sldprt[;]\\*\\.sldasm,SolidWorks Files\n(.*\n)*  \\*\\.sldasm +SolidWorks Files +104 +All Supported Files\n$")
orvhost(0 check part.sldprt ASSY.SLDASM OUT "^part.sldprt: SolidWorks Importer\nASSY.SLDASM: SolidWorks Importer\n$")
orvhost(5 check --json part.sldprt part.sldprt.bak OUT "\"importer\": null,\n *\"path\": \"part.sldprt.bak\"")

# open loads the document with the option set the settings file holds then.
orvhost(0 --settings s.ini options set "Read PMI=false")
orvhost(0 --settings s.ini open bracket.sldprt OUT "^bracket.sldprt\n  importer: SolidWorks Importer\n  document: loaded\n"
  OUT "Read PMI +false \\(changed\\)\n")
orvhost(7 --settings s.ini open missing.sldasm OUT "document: file not found" ERR "missing.sldasm: the document did not load")
orvhost(5 --settings s.ini open model.step ERR "model.step: no importer accepts this file")

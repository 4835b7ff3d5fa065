# Each command with the real importer from the default folder (beside bin/,
# not the working folder's plugins/), and a bad command line told apart by
# its status.
include(${CMAKE_CURRENT_LIST_DIR}/Orvhost.cmake)
file(COPY "${FIXTURES}/fixture_createPlugin_own${SUFFIX}" DESTINATION "${WORK}/plugins")
file(WRITE "${WORK}/bracket.sldprt" "part data\n")

orvhost(0 --version OUT "^orvhost ${VERSION}\n$")
orvhost(0 plugins OUT "^SolidWorks Importer\n  identity: +{[0-9A-F-]+}\n  version: +6\\.7\\.0\\.120\n.*solidworksimporter\\${SUFFIX}\n$")
orvhost(0 filters OUT "dialog filter: sldprt[;]\\*\\.sldasm,SolidWorks Files\n(.*\n)*  \\*\\.sldasm +SolidWorks Files +104 +All Supported Files\n$")
orvhost(0 check part.sldprt ASSY.SLDASM OUT "^part.sldprt: SolidWorks Importer\nASSY.SLDASM: SolidWorks Importer\n$")
orvhost(5 check --json part.sldprt part.sldprt.bak OUT "\"importer\": null,\n *\"path\": \"part.sldprt.bak\""
  OUT "\"message\": \"no importer accepts a file\"")

# open loads the document with the option set the settings file holds then.
orvhost(0 --settings s.ini options set "Read PMI=false")
orvhost(0 --settings s.ini open bracket.sldprt OUT "^bracket.sldprt\n  importer: SolidWorks Importer\n  document: loaded\n"
  OUT "Read PMI +false \\(changed\\)\n")
orvhost(7 --settings s.ini open missing.sldasm OUT "document: file not found" ERR "missing.sldasm: the document did not load")

# status|arguments|what the error names: told on the standard error, and
# under --json in one document, with the error beside what was done.
file(MAKE_DIRECTORY "${WORK}/folder.ini")
foreach(row "2||subcommand" "2|frobnicate|frobnicate" "2|check|PATH" "2|options set|NAME=VALUE is required"
    "2|plugins --frobnicate|--frobnicate" "2|options --defaults set Read\\\\ Solids=0|--defaults"
    "2|options --defaults reset|--defaults" "3|--plugin-dir nowhere plugins|no plug-in folder at nowhere"
    "4|--plugin-dir plugins check a.sldprt|no importer plug-in in"
    "5|--settings s.ini open model.step|model.step: no importer accepts this file"
    "6|--settings folder.ini options|cannot be read: it is a folder"
    "7|--settings s.ini open missing.sldasm|missing.sldasm: the document did not load")
  string(REGEX MATCH "^(.)[|]([^|]*)[|](.*)$" row "${row}")
  separate_arguments(arguments UNIX_COMMAND "${CMAKE_MATCH_2}")
  orvhost(${CMAKE_MATCH_1} ${arguments} ERR "${CMAKE_MATCH_3}")
  orvhost(${CMAKE_MATCH_1} --json ${arguments} NO_OUT "\n}\n." OUT "^{\n" OUT "\n  \"error\": {\n    \"message\": \"[^\n]*${CMAKE_MATCH_3}[^\n]*\",\n    \"status\": ${CMAKE_MATCH_1}\n  },\n  \"failures\": \\[")
endforeach()

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

# Under --json every failing status still answers one document, with its error beside what was done.
file(MAKE_DIRECTORY "${WORK}/folder.ini")
foreach(row "2|options set|NAME=VALUE is required" "3|--plugin-dir nowhere plugins|no plug-in folder at nowhere"
    "4|--plugin-dir plugins check a.sldprt|no importer plug-in in" "5|check a.sldprt b.step|no importer accepts a file"
    "6|--settings folder.ini options|it is a folder" "7|--settings s.ini open missing.sldasm|missing.sldasm: the document did not load")
  string(REGEX MATCH "^(.)[|]([^|]*)[|](.*)$" row "${row}")
  separate_arguments(arguments UNIX_COMMAND "${CMAKE_MATCH_2}")
  orvhost(${CMAKE_MATCH_1} --json ${arguments} NO_OUT "\n}\n." OUT "^{\n" OUT "\n  \"error\": {\n    \"message\": \"[^\n]*${CMAKE_MATCH_3}[^\n]*\",\n    \"status\": ${CMAKE_MATCH_1}\n  },\n  \"failures\": \\[")
endforeach()

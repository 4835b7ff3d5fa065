# open: the importer that accepts the file makes the document, which loads
# with the option set the settings file holds at that moment.
include(${CMAKE_CURRENT_LIST_DIR}/Orvhost.cmake)
file(WRITE "${WORK}/bracket.sldprt" "part data\n")

orvhost(0 --settings s.ini open bracket.sldprt OUT "^bracket.sldprt\n  importer: SolidWorks Importer\n  document: loaded\n"
  OUT "Read PMI +true\n")
orvhost(0 --settings s.ini options set "Read PMI=false")
orvhost(0 --settings s.ini open bracket.sldprt OUT "Read PMI +false \\(changed\\)")
orvhost(0 --settings s.ini open --json bracket.sldprt)
expect_json("${OUT}" "ON" loaded)
expect_json("${OUT}" "SolidWorks Importer" importer)
string(JSON count LENGTH "${OUT}" options)
if(NOT count EQUAL 12)
  message(FATAL_ERROR "the document was loaded with ${count} options, not 12\n${OUT}")
endif()

orvhost(7 --settings s.ini open missing.sldasm OUT "document: file not found" ERR "missing.sldasm: the document did not load")
orvhost(5 --settings s.ini open model.step ERR "model.step: no importer accepts this file")

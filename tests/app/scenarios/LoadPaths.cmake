# Paths on their way to the loader and the document: a module's name in
# either case on Windows, and on Linux a file name that is not UTF-8.
include(${CMAKE_CURRENT_LIST_DIR}/Orvhost.cmake)

file(MAKE_DIRECTORY "${WORK}/upper")
string(TOUPPER "solidworksimporter${SUFFIX}" upper)
file(COPY_FILE "${MODULE}" "${WORK}/upper/${upper}")
if(SUFFIX STREQUAL ".dll")
  orvhost(0 --plugin-dir upper plugins OUT "^SolidWorks Importer\n")
else()
  # Linux file names keep their case.
  orvhost(3 --plugin-dir upper plugins ERR "no plug-in modules")

  string(ASCII 233 eAcute)  # é in Latin-1: no UTF-8
  file(WRITE "${WORK}/caf${eAcute}.sldprt" "part data\n")
  orvhost(0 --settings s.ini open "caf${eAcute}.sldprt" OUT "document: loaded")
endif()

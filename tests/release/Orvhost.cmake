# The unpacked orvhost (ORVHOST, in the archive ARCHIVE) finds the importer
# in the archive's plug-in folder by itself, with no library path set, and
# opens a file with the options it saved before. EMULATOR runs it (Wine).
include(${CMAKE_CURRENT_LIST_DIR}/Unpack.cmake)
unpack("${ARCHIVE}")
set(ORVHOST "${ROOT}/${ORVHOST}")
set(WORK "${SCRATCH}")
# No folder but the archive's own may serve a library.
set(ORVHOST_ENV --unset=LD_LIBRARY_PATH --unset=WINEPATH)
include(${SCENARIO})

orvhost(0 --version OUT "^orvhost ${VERSION}\n$")
orvhost(0 plugins OUT "SolidWorks Importer" OUT "module: +[^\n]*${NAME}[/\\\\]plugins[/\\\\]solidworksimporter")
file(WRITE "${WORK}/Bracket.SLDPRT" "part\n")
orvhost(0 --settings orvhost.ini options set "Read PMI=false")
orvhost(0 --settings orvhost.ini open Bracket.SLDPRT OUT "document: loaded" OUT "Read PMI +false \\(changed\\)")
remove_unpacked()

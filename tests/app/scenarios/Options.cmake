# The options of two importers as the preference dialog shows them, changed
# and reset from the command line: each name goes to the importer that has
# it, what is saved survives into the next run, and a bad argument writes
# nothing.
include(${CMAKE_CURRENT_LIST_DIR}/Orvhost.cmake)
file(COPY "${MODULE}" "${FIXTURES}/second_importer${SUFFIX}" DESTINATION "${WORK}/plugins")
set(run --plugin-dir plugins --settings config/orvhost.ini)

orvhost(0 ${run} options OUT "Read Solids +bool +true +check box +basic +\"Read solid bodies\""
  OUT "entries: Extra low \\| Low \\| \\[Medium\\] \\| High \\| Extra high" NO_OUT "\\(default")
orvhost(0 ${run} options set "Read Solids=false" "Set Tessellation Level=High" "Pmi Color=#00FF80" "Mesh Only=true"
  "Mesh Density=-2147483648" OUT "Second Importer, options from [^\n]*\n  Mesh Only: false -> true\n  Mesh Density: 0 -> -2147483648\n"
  OUT "Read Solids: true -> false\n  Set Tessellation Level: Medium -> High\n  Pmi Color: #000000 -> #00FF80\n")
orvhost(0 ${run} options OUT "Mesh Only +bool +true \\(default false\\)" OUT "Read Solids +bool +false \\(default true\\)"
  OUT "Pmi Color +colour +#00FF80 \\(default #" OUT "\\| \\[High\\] \\|")
orvhost(0 ${run} options --defaults NO_OUT "\\(default")
orvhost(0 ${run} options --json OUT "\"differsFromDefault\": true,[^}]*\"name\": \"Set Tessellation Level\",\n *\"number\": 3,")

# Each refused argument is named with what is valid, and nothing is written.
file(SHA256 "${WORK}/config/orvhost.ini" saved)
foreach(row "read solids=1|no option is named \"read solids\"; the options are:\n  Second Importer:\n    Mesh Only\n.*\n  SolidWorks Importer:\n    Import construction"
    "Import Curves=0|\"Import Curves\" is given more than once" "Read Solids|NAME=VALUE" "Read Solids=yes|true, false, 1 or 0"
    "Pmi Color=red|#RRGGBB" "Pmi Color=0x1000000|#RRGGBB" "Set Tessellation Level=Huge|\"Extra low\", \"Low\", \"Medium\""
    "Set Tessellation Level=5|numbers 0 to 4" "Set Tessellation Level=+1|numbers" "Set Tessellation Level= 1|numbers"
    "Set Tessellation Level=0X1|numbers" "Mesh Density=-2147483649|32-bit" "Mesh Density=2147483648|32-bit")
  string(REGEX MATCH "^([^|]*)[|](.*)$" row "${row}")
  orvhost(2 ${run} options set "Import Curves=1" "${CMAKE_MATCH_1}" ERR "${CMAKE_MATCH_2}" ERR "nothing was changed")
endforeach()
orvhost(2 ${run} options reset "Pmi Colour" ERR "no option is named \"Pmi Colour\"")
orvhost(2 ${run} --importer "Second Importer" options set "Read Solids=true" ERR "the options are:\n  Second Importer:\n    Mesh Only\n")
orvhost(2 ${run} --importer Nobody plugins ERR "no importer is named \"Nobody\"; the importers are:\n  Second Importer\n  SolidWorks Importer\n$")
file(SHA256 "${WORK}/config/orvhost.ini" now)
if(NOT now STREQUAL saved)
  message(FATAL_ERROR "a refused command changed the settings file")
endif()

# Entry numbers and colour numbers, decimal or hex, are taken as well.
orvhost(0 ${run} options set "Set Reading Mode=0" "Pmi Color=0x0000FF" "Edge Colour=010"
  OUT "Edge Colour: #FF0000 -> #0A0000\n" OUT "Set Reading Mode: [^\n]* -> Tessellation only\n  Pmi Color: #00FF80 -> #FF0000\n")
orvhost(0 ${run} --importer "Second Importer" options reset OUT "Mesh Only: true -> false\n" NO_OUT "Read Solids")
orvhost(0 ${run} options reset "Read Solids" OUT "Read Solids: false -> true\n" NO_OUT "Pmi Color:")
orvhost(0 ${run} options reset NO_OUT "\\(default")

# The settings file as users keep it: a value orvhost cannot read is
# reported with file and line; a file it cannot read or write is an error of
# its own (--defaults needs none); through a link, the file it names is
# saved and the link stays, under Wine too, where it looks like a plain file.
file(WRITE "${WORK}/kept.ini" "; by hand\n[Other Program]\nRead Solids=5\n\n[SolidWorks Import]\n# a note\nRead Solids=yes\n")
orvhost(0 --settings kept.ini options set "Set Reading Mode=1" ERR "warning: [^\n]*kept.ini:7: [^\n]*Read Solids[^\n]*yes")
file(COPY_FILE "${MODULE}" "${WORK}/binary.ini")
orvhost(6 --settings binary.ini open part.sldprt ERR "binary.ini")
orvhost(0 --settings binary.ini options --defaults)
file(WRITE "${WORK}/readonly.ini" "[SolidWorks Import]\nRead Solids=0\n")
file(CHMOD "${WORK}/readonly.ini" PERMISSIONS OWNER_READ)
orvhost(6 --settings readonly.ini options set "Read Solids=1" ERR "readonly.ini[^\n]*read-only")
file(WRITE "${WORK}/target.ini" "[SolidWorks Import]\nRead Solids=1\n")
file(CREATE_LINK target.ini "${WORK}/link.ini" SYMBOLIC)
orvhost(0 --settings link.ini options set "Read Solids=0")
orvhost(0 --settings target.ini options OUT "Read Solids +bool +false")
if(NOT IS_SYMLINK "${WORK}/link.ini")
  message(FATAL_ERROR "saving through link.ini replaced the link")
endif()

# Six orvhost processes at once, each setting another option in one file:
# every change is kept, since each save locks the file and writes only its
# own changes into the file as it stands; no save leaves a temporary file.
orvhost(0 --settings c.ini options reset)
set(commands)
set(kept)
foreach(assignment "Read Solids=false" "Import Surfaces=false" "Read PMI=false" "Import Curves=true" "Set PMI Color=true"
    "Read Wireframes=false")
  list(APPEND commands COMMAND sh -c "exec \"$@\" </dev/null >/dev/null" sh ${emulator} "${ORVHOST}" --settings c.ini
    options set "${assignment}")
  string(REPLACE "=" " +bool +" pattern "${assignment}")
  list(APPEND kept OUT "${pattern}")
endforeach()
execute_process(${commands} WORKING_DIRECTORY "${WORK}" RESULTS_VARIABLE results ERROR_VARIABLE errors)
if(NOT results MATCHES "^0(;0)*$")
  message(FATAL_ERROR "concurrent saves ended with ${results}:\n${errors}")
endif()
orvhost(0 --settings c.ini options ${kept})
file(GLOB left "${WORK}/*.tmp" "${WORK}/.*.tmp")
if(left)
  message(FATAL_ERROR "the saves left ${left}")
endif()

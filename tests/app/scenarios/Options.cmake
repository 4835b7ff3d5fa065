# The options of two importers as the preference dialog shows them, changed
# and reset from the command line: each name goes to the importer that has
# it, what is saved survives into the next run, and a bad argument writes
# nothing.
include(${CMAKE_CURRENT_LIST_DIR}/Orvhost.cmake)
file(COPY "${MODULE}" "${FIXTURES}/fixture_pairing${SUFFIX}" DESTINATION "${WORK}/plugins")
set(run --plugin-dir plugins --settings config/orvhost.ini)

orvhost(0 ${run} options set "Read Solids=false" "Set Tessellation Level=High" "Pmi Color=#00FF80" "Mesh Only=true"
  "Mesh Density=-2147483648" OUT "Second Importer, options from [^\n]*\n  Mesh Only: false -> true\n  Mesh Density: 0 -> -2147483648\n"
  OUT "Read Solids: true -> false\n  Set Tessellation Level: Medium -> High\n  Pmi Color: #000000 -> #00FF80\n")
orvhost(0 ${run} options OUT "Mesh Only +bool +true \\(default false\\)" OUT "Pmi Color +colour +#00FF80 \\(default #"
  OUT "Read Solids +bool +false \\(default true\\) +check box +basic +\"Read solid bodies\""
  OUT "entries: Extra low \\| Low \\| Medium \\| \\[High\\] \\| Extra high")
orvhost(0 ${run} options --defaults NO_OUT "\\(default")

# Each refused argument is named with what is valid, and nothing is written.
foreach(row "read solids=1|no option is named \"read solids\"; the options are:\n  Second Importer:\n    Mesh Only\n.*\n  SolidWorks Importer:\n"
    "Import Curves=0|\"Import Curves\" is given more than once" "Read Solids|NAME=VALUE" "Read Solids=yes|true, false, 1 or 0"
    "Pmi Color=red|#RRGGBB" "Pmi Color=0x1000000|#RRGGBB" "Set Tessellation Level=Huge|\"Extra low\", \"Low\", \"Medium\""
    "Set Tessellation Level=5|numbers 0 to 4" "Set Tessellation Level=+1|numbers" "Set Tessellation Level= 1|numbers"
    "Set Tessellation Level=0X1|numbers" "Mesh Density=-2147483649|32-bit" "Mesh Density=2147483648|32-bit")
  string(REGEX MATCH "^([^|]*)[|](.*)$" row "${row}")
  orvhost(2 ${run} options set "Import Curves=1" "${CMAKE_MATCH_1}" ERR "${CMAKE_MATCH_2}" ERR "nothing was changed")
endforeach()
orvhost(2 ${run} --importer "Second Importer" options set "Read Solids=true" ERR "the options are:\n  Second Importer:\n    Mesh Only\n")
orvhost(2 ${run} --importer Nobody plugins ERR "no importer is named \"Nobody\"; the importers are:\n  Second Importer\n  SolidWorks Importer\n$")
orvhost(0 ${run} options NO_OUT "Import Curves +bool +true" NO_OUT "Read Solids +bool +true")

# Entry numbers and colour numbers, decimal or hex, are taken as well.
orvhost(0 ${run} options set "Set Reading Mode=0" "Pmi Color=010" "Set Tessellation Level=0x1"
  OUT "Set Reading Mode: [^\n]* -> Tessellation only\n  Pmi Color: #00FF80 -> #0A0000\n  Set Tessellation Level: High -> Low\n")
orvhost(0 ${run} --importer "Second Importer" options reset OUT "Mesh Only: true -> false\n" NO_OUT "Read Solids")
orvhost(0 ${run} options reset "Read Solids" OUT "Read Solids: false -> true\n" NO_OUT "Pmi Color:")
orvhost(0 ${run} options reset NO_OUT "\\(default")

# A file that is no text or read-only is an error of its own (--defaults
# needs none; a folder: Commands.cmake).
file(COPY_FILE "${MODULE}" "${WORK}/binary.ini")
orvhost(6 --settings binary.ini open part.sldprt ERR "binary.ini")
orvhost(0 --settings binary.ini options --defaults)
file(WRITE "${WORK}/readonly.ini" "[SolidWorks Import]\nRead Solids=0\n")
file(CHMOD "${WORK}/readonly.ini" PERMISSIONS OWNER_READ)
orvhost(6 --settings readonly.ini options set "Read Solids=1" ERR "readonly.ini[^\n]*read-only")
# A value it cannot read is named with its file and line, and the default is used.
file(WRITE "${WORK}/odd.ini" "[SolidWorks Import]\nRead Solids=maybe\n")
orvhost(0 --settings odd.ini options ERR "warning: odd.ini:2: [^\n]*\"maybe\"" OUT "Read Solids +bool +true")

# Twelve orvhost processes at once, each setting another option in one file,
# from no file, a file of one key and a file of all twelve: every change is
# kept, since each run hands the store only the option it changed and each
# save locks the file and writes that into the file as it stands; no save
# leaves a temporary file or a lock behind it.
set(assignments "Import construction and references=true" "Import Hidden Components and Surfaces=true"
  "Read Solids=false" "Import Surfaces=false" "Set PMI Color=true" "Pmi Color=#FF8000" "Read Wireframes=false"
  "Read Attributes=false" "Set Tessellation Level=Extra high" "Set Reading Mode=Exact geometry only" "Read PMI=false"
  "Import Curves=true")
list(TRANSFORM assignments REPLACE "=.*" "=0" OUTPUT_VARIABLE full)
list(JOIN full "\n" full)
list(TRANSFORM assignments REPLACE "=(.*)" " +[a-z]+ +\\1" OUTPUT_VARIABLE kept)
foreach(start "none|" "one|[SolidWorks Import]\nRead Solids=1\n" "full|[SolidWorks Import]\n${full}\n")
  string(REGEX MATCH "^([^|]*)[|](.*)$" start "${start}")
  set(file ${CMAKE_MATCH_1}.ini)
  if(CMAKE_MATCH_2)
    file(WRITE "${WORK}/${file}" "${CMAKE_MATCH_2}")
  endif()
  set(commands)
  foreach(assignment IN LISTS assignments)
    list(APPEND commands COMMAND sh -c "exec \"$@\" </dev/null >/dev/null 2>&1" sh ${emulator} "${ORVHOST}"
      --settings ${file} options set "${assignment}")
  endforeach()
  execute_process(${commands} WORKING_DIRECTORY "${WORK}")
  orvhost(0 --settings ${file} options OUT ${kept})
endforeach()
file(GLOB left "${WORK}/*.tmp" "${WORK}/.*.tmp")
if(left)
  message(FATAL_ERROR "the saves left ${left}")
endif()

# An importer whose save leaves a value out: that change is not told as
# made, and orvhost names the option that did not reach the file.
file(COPY "${FIXTURES}/fixture_roundtrip${SUFFIX}" DESTINATION "${WORK}/forgetful")
orvhost(6 --plugin-dir forgetful --settings f.ini options set "Mesh Only=true" "Mesh Density=1"
  OUT "Mesh Only: false -> true\n" NO_OUT "Mesh Density:" ERR "Forgetful Importer: \"Mesh Density\" was not saved: [^\n]*holds Coarse, not Fine")

# options edit passes over an importer whose options the dialog cannot show,
# and says which it looked at; one named by --importer is named back; a
# widget that throws fails its importer. Only Windows has the dialog.
if(SUFFIX STREQUAL ".dll")
  file(COPY "${FIXTURES}/fixture_canShow_own${SUFFIX}" DESTINATION "${WORK}/faulty-widget")
  orvhost(4 --plugin-dir faulty-widget options edit
    ERR "fixture_canShow_own.dll: the option widgets failed: fixture fault in canShow")
  file(COPY "${FIXTURES}/fixture_hidden${SUFFIX}" DESTINATION "${WORK}/hidden")
  orvhost(1 --plugin-dir hidden options edit
    ERR "^orvhost: no importer has options the dialog can show; the importers looked at:\n  Hidden Options\n$")
  file(COPY "${MODULE}" DESTINATION "${WORK}/hidden")
  orvhost(1 --plugin-dir hidden --importer "Hidden Options" options edit
    ERR "^orvhost: Hidden Options has no options the dialog can show\n$")
endif()

# The options as the preference dialog shows them, changed and reset from the
# command line; what is saved survives into the next run, and a bad argument
# writes nothing.
include(${CMAKE_CURRENT_LIST_DIR}/Orvhost.cmake)
set(settings "${WORK}/config/orvhost.ini")

orvhost(0 --settings "${settings}" options OUT "Read Solids +bool +true +check box +basic +\"Read solid bodies\""
  OUT "entries: Extra low \\| Low \\| \\[Medium\\] \\| High \\| Extra high" NO_OUT "\\(default")
if(EXISTS "${settings}")
  message(FATAL_ERROR "showing options wrote the settings file")
endif()

orvhost(0 --settings "${settings}" options set "Read Solids=false" "Set Tessellation Level=High" "Pmi Color=#00FF80"
  OUT "Read Solids: true -> false\n" OUT "Set Tessellation Level: Medium -> High\n" OUT "Pmi Color: #[0-9A-F]+ -> #00FF80\n")
file(READ "${settings}" content)
string(REPLACE "\r\n" "\n" content "${content}")
foreach(line "[SolidWorks Import]" "Read Solids=0" "Set Tessellation Level=3" "Pmi Color=8453888")
  string(FIND "${content}" "${line}\n" at)
  if(at LESS 0)
    message(FATAL_ERROR "the settings file lacks \"${line}\":\n${content}")
  endif()
endforeach()

# The next run reads them back.
orvhost(0 --settings "${settings}" options OUT "Read Solids +bool +false \\(default true\\)"
  OUT "Pmi Color +colour +#00FF80 \\(default #" OUT "\\| \\[High\\] \\|")
orvhost(0 --settings "${settings}" options --json)
expect_json("${OUT}" "Set Tessellation Level" importers 0 options 8 name)
expect_json("${OUT}" "High" importers 0 options 8 value)
expect_json("${OUT}" "3" importers 0 options 8 number)
expect_json("${OUT}" "ON" importers 0 options 8 differsFromDefault)
expect_json("${OUT}" "OFF" importers 0 options 9 differsFromDefault)

# Bad arguments: errors that say what is valid, and nothing written at all.
file(SHA256 "${settings}" saved)
orvhost(2 --settings "${settings}" options set "Read Solids=1" "read solids=1"
  ERR "no option is named \"read solids\"; the options are:\n  SolidWorks Importer:\n" ERR "\n    Set Reading Mode\n"
  ERR "nothing was changed")
orvhost(2 --settings "${settings}" options set "Read Solids=1" "Pmi Color=red" ERR "#RRGGBB")
orvhost(2 --settings "${settings}" options set "Set Tessellation Level=Huge" ERR "\"Extra low\", \"Low\", \"Medium\"")
orvhost(2 --settings "${settings}" options set "Set Tessellation Level=5" ERR "numbers 0 to 4")
orvhost(2 --settings "${settings}" options set "Read Solids=yes" ERR "true, false, 1 or 0")
orvhost(2 --settings "${settings}" options set "Read Solids=1" "Read Solids=0" ERR "more than once")
orvhost(2 --settings "${settings}" options set "Read Solids" ERR "NAME=VALUE")
orvhost(2 --settings "${settings}" options reset "Pmi Colour" ERR "no option is named \"Pmi Colour\"")
expect_unchanged("${settings}" "${saved}")

# Entry numbers and colour numbers are taken as well as labels.
orvhost(0 --settings "${settings}" options set "Set Reading Mode=0" "Pmi Color=0x0000FF" OUT "Pmi Color: #00FF80 -> #FF0000")

orvhost(0 --settings "${settings}" options reset "Read Solids" OUT "Read Solids: false -> true\n")
orvhost(0 --settings "${settings}" options OUT "Read Solids +bool +true " OUT "High \\(default Medium\\)")
orvhost(0 --settings "${settings}" options reset)
orvhost(0 --settings "${settings}" options NO_OUT "\\(default")
orvhost(0 --settings "${WORK}/never.ini" options --defaults NO_OUT "\\(default")

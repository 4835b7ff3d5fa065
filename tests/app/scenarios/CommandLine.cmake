# Help for every command, and a bad command line told apart by its status.
include(${CMAKE_CURRENT_LIST_DIR}/Orvhost.cmake)

orvhost(0 --help OUT "plugins" OUT "filters" OUT "check" OUT "open" OUT "options" OUT "Exit status:\n")
foreach(command plugins filters check open options)
  orvhost(0 ${command} --help OUT "${command}")
endforeach()
orvhost(0 options set --help OUT "NAME=VALUE")
orvhost(0 options reset --help OUT "NAME")
orvhost(0 --version OUT "^orvhost ${VERSION}\n$")

orvhost(2 ERR "subcommand")
orvhost(2 frobnicate ERR "frobnicate")
orvhost(2 check ERR "PATH")
orvhost(2 options set ERR "NAME=VALUE")
orvhost(2 options --defaults set "Read Solids=0" ERR "--defaults")
orvhost(2 plugins --frobnicate ERR "--frobnicate")

# The options dialog needs Windows (where OptionsDialogTests drives it);
# elsewhere options edit says so and points to options set.
if(SUFFIX STREQUAL ".so")
  orvhost(2 options edit ERR "options edit shows a dialog, which needs Windows" ERR "options set")
endif()

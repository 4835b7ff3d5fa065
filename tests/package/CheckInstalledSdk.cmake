# Installs the build into a fresh folder, checks the SDK layout and, when
# CONSUMER is set, builds and runs an outside project against it.
# Arguments: BUILD, WORK, PLUGIN (the module's file name), CONSUMER, ORVHOST
# (its file name) and EMULATOR (what runs it, '|'-separated; empty when native).
file(REMOVE_RECURSE ${WORK})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${WORK}/sdk
  RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "install failed")
endif()
foreach(file IN LISTS EXPECTED)
  if(NOT EXISTS ${WORK}/sdk/${file})
    message(FATAL_ERROR "the installed SDK lacks ${file}")
  endif()
endforeach()
# The installed orvhost finds the installed plug-in folder on its own.
string(REPLACE "|" ";" emulator "${EMULATOR}")
execute_process(COMMAND ${emulator} ${WORK}/sdk/bin/${ORVHOST} plugins
  RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT result EQUAL 0 OR NOT out MATCHES "SolidWorks Importer")
  message(FATAL_ERROR "the installed orvhost did not find the installed importer (${result}):\n${out}${err}")
endif()
if(NOT CONSUMER)
  return()
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -S ${CONSUMER} -B ${WORK}/consumer -G Ninja
    -DCMAKE_PREFIX_PATH=${WORK}/sdk -DCMAKE_BUILD_TYPE=Release
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "find_package(OrvHost) failed against the installed SDK")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} --build ${WORK}/consumer RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the consumer did not build against the installed SDK")
endif()
execute_process(COMMAND ${WORK}/consumer/consumer ${WORK}/sdk/plugins/${PLUGIN} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the consumer failed to use the installed SDK")
endif()

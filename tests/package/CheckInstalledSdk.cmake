# Installs the build into a fresh folder, runs its orvhost, and builds and
# runs the outside project CONSUMER against it.
# Arguments: BUILD, WORK, PLUGIN (the module's file name), CONSUMER, ORVHOST
# (its file name), EMULATOR (what runs it, '|'-separated; empty when native)
# and TOOLCHAIN (the cross build's toolchain file, or empty).
file(REMOVE_RECURSE ${WORK})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${WORK}/sdk OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
# The installed orvhost finds the installed plug-in folder on its own.
string(REPLACE "|" ";" emulator "${EMULATOR}")
execute_process(COMMAND ${emulator} ${WORK}/sdk/bin/${ORVHOST} plugins
  RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT result EQUAL 0 OR NOT out MATCHES "SolidWorks Importer")
  message(FATAL_ERROR "the installed orvhost did not find the installed importer (${result}):\n${out}${err}")
endif()
# A cross build finds packages only under its root path: name the package's
# folder outright.
set(configure -S ${CONSUMER} -B ${WORK}/consumer -G Ninja -DCMAKE_BUILD_TYPE=Release)
if(TOOLCHAIN)
  list(APPEND configure -DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN} -DOrvHost_DIR=${WORK}/sdk/lib/cmake/OrvHost)
else()
  list(APPEND configure -DCMAKE_PREFIX_PATH=${WORK}/sdk)
endif()
execute_process(COMMAND ${CMAKE_COMMAND} ${configure} COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${CMAKE_COMMAND} --build ${WORK}/consumer COMMAND_ERROR_IS_FATAL ANY)
# The consumer links the module's geometry, so Windows must find the module
# in the plug-in folder, and the host libraries in bin/, at start.
set(arguments ${WORK}/sdk/plugins/${PLUGIN} RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(emulator)
  execute_process(COMMAND /usr/bin/env "WINEPATH=${WORK}/sdk/bin;${WORK}/sdk/plugins" ${emulator}
    ${WORK}/consumer/consumer.exe ${arguments})
else()
  execute_process(COMMAND ${WORK}/consumer/consumer ${arguments})
endif()
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the consumer failed to use the installed SDK (${result}):\n${out}${err}")
endif()

# Installs the build into a fresh folder, runs its orvhost, builds and runs
# the outside project CONSUMER against it, and builds the sample plug-in
# SAMPLE against it and loads it.
# Arguments: BUILD, WORK, CONSUMER, SAMPLE, NM, ORVHOST
# (its file name), EMULATOR (what runs it, '|'-separated; empty when native)
# and TOOLCHAIN (the cross build's toolchain file, or empty).
# orvhost() of the scenarios, run in a fresh WORK.
include(${CMAKE_CURRENT_LIST_DIR}/../app/scenarios/Orvhost.cmake)
string(REGEX MATCH "[.]exe$" exe "${ORVHOST}")
set(ORVHOST ${WORK}/sdk/bin/${ORVHOST})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${WORK}/sdk OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
# The installed orvhost finds the installed plug-in folder on its own.
orvhost(0 plugins OUT "SolidWorks Importer")
# A cross build takes the SDK's own toolchain file, which finds the SDK with
# nothing more; a native one the prefix.
if(TOOLCHAIN)
  set(find -DCMAKE_TOOLCHAIN_FILE=${WORK}/sdk/lib/cmake/OrvHost/mingw-w64-x86_64.cmake)
else()
  set(find -DCMAKE_PREFIX_PATH=${WORK}/sdk)
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -S ${CONSUMER} -B ${WORK}/consumer -G Ninja -DCMAKE_BUILD_TYPE=Release ${find}
  COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${CMAKE_COMMAND} --build ${WORK}/consumer COMMAND_ERROR_IS_FATAL ANY)

# The sample plug-in, built as an integrator might with -ffast-math, loads
# beside the importer and takes its files; with -Ofast, which would bring
# code that changes the host's floating-point environment, it does not build.
foreach(flags CMAKE_CXX_FLAGS=-ffast-math CMAKE_CXX_FLAGS_RELEASE=-Ofast)
  string(REGEX REPLACE ".*=" "sample" folder "${flags}")
  execute_process(COMMAND ${CMAKE_COMMAND} -S ${SAMPLE} -B ${WORK}/${folder} -G Ninja -DCMAKE_BUILD_TYPE=Release
    ${find} -D${flags} COMMAND_ERROR_IS_FATAL ANY)
  execute_process(COMMAND ${CMAKE_COMMAND} --build ${WORK}/${folder} RESULT_VARIABLE built OUTPUT_VARIABLE log
    ERROR_VARIABLE log)
  # GCC before 13 links that code into a shared module too: refused there;
  # a newer one leaves it out.
  file(GLOB module "${WORK}/${folder}/demoimporter.so" "${WORK}/${folder}/demoimporter.dll")
  if(built EQUAL 0)
    execute_process(COMMAND ${NM} ${module} OUTPUT_VARIABLE symbols)
  endif()
  if(flags MATCHES "Ofast" AND (built EQUAL 0 AND symbols MATCHES "set_fast_math" OR
                                NOT built EQUAL 0 AND NOT log MATCHES "crtfastmath"))
    message(FATAL_ERROR "a plug-in built with -Ofast was not refused, or not built clean:\n${log}")
  elseif(flags MATCHES "fast-math" AND NOT built EQUAL 0)
    message(FATAL_ERROR "the sample plug-in did not build against the installed SDK:\n${log}")
  endif()
endforeach()
file(GLOB sample "${WORK}/sample-ffast-math/demoimporter.*")
list(FILTER sample INCLUDE REGEX "\\.(so|dll)$")
file(COPY ${sample} DESTINATION ${WORK}/sdk/plugins)
get_filename_component(name "${sample}" NAME)
if(NOT emulator)
  # Its RUNPATH alone, from the plug-in folder, reaches the host libraries.
  execute_process(COMMAND ldd ${WORK}/sdk/plugins/${name} OUTPUT_VARIABLE needed COMMAND_ERROR_IS_FATAL ANY)
  if(needed MATCHES "not found")
    message(FATAL_ERROR "the installed sample plug-in does not find its libraries:\n${needed}")
  endif()
endif()
file(WRITE ${WORK}/drawing.demo "demo\n")
# Absolute paths: on Windows, orvhost must not take "/..." for an option.
orvhost(0 check ${WORK}/drawing.demo OUT "drawing.demo: Demo Importer\n" NO_ERR ".")
orvhost(0 validate ${WORK}/sdk/plugins/${name} NO_OUT "FAIL|SKIP")
# The consumer links the module's geometry, so Windows must find the module
# in the plug-in folder, and the host libraries in bin/, at start.
execute_process(COMMAND ${CMAKE_COMMAND} -E env "WINEPATH=${WORK}/sdk/bin;${WORK}/sdk/plugins" ${emulator}
  ${WORK}/consumer/consumer${exe} RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the consumer failed to use the installed SDK (${result}):\n${out}${err}")
endif()

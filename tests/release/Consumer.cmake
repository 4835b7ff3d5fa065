# The outside project CONSUMER builds against the unpacked archive ARCHIVE
# with find_package(OrvHost) and loads the archive's plug-in (PLUGIN).
include(${CMAKE_CURRENT_LIST_DIR}/Unpack.cmake)
unpack("${ARCHIVE}")
execute_process(COMMAND ${CMAKE_COMMAND} -S "${CONSUMER}" -B "${SCRATCH}/consumer" -G Ninja
    -DCMAKE_BUILD_TYPE=Release "-DCMAKE_PREFIX_PATH=${ROOT}"
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "find_package(OrvHost) failed against the unpacked archive")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} --build "${SCRATCH}/consumer" RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the consumer did not build against the unpacked archive")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E env --unset=LD_LIBRARY_PATH "${SCRATCH}/consumer/consumer" "${ROOT}/${PLUGIN}"
  RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the consumer failed to use the unpacked archive (${result}):\n${out}${err}")
endif()
remove_unpacked()

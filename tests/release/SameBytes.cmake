# Packs the build again into WORK, as another user when this one is root,
# and expects the same bytes as ARCHIVES ('|'-separated), which cpack made:
# an archive must not tell who packed it or when. CPACK is cpack, CONFIG the
# build's CPackConfig.cmake. The entries' times come from SOURCE_DATE_EPOCH,
# which must be the packing's (scripts/package sets it for both).
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  message(FATAL_ERROR "SOURCE_DATE_EPOCH is not set: run this as scripts/package does")
endif()
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
set(pack fakeroot "${CPACK}" --config "${CONFIG}" -B "${WORK}")
execute_process(COMMAND id -u OUTPUT_VARIABLE uid OUTPUT_STRIP_TRAILING_WHITESPACE)
# The install step that cpack runs rewrites its manifests in the build
# folder: the other user may write those, and nothing else there.
get_filename_component(build "${CONFIG}" DIRECTORY)
file(GLOB manifests "${build}/install_manifest*.txt")
if(uid STREQUAL "0")
  execute_process(COMMAND chown nobody "${WORK}" ${manifests} COMMAND_ERROR_IS_FATAL ANY)
  set(pack setpriv --reuid=nobody --regid=nogroup --clear-groups ${pack})
endif()
execute_process(COMMAND ${pack} RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(manifests AND uid STREQUAL "0")
  execute_process(COMMAND chown root ${manifests})
endif()
if(NOT result EQUAL 0)
  message(FATAL_ERROR "packing again failed (${result}):\n${out}")
endif()
string(REPLACE "|" ";" archives "${ARCHIVES}")
foreach(archive IN LISTS archives)
  get_filename_component(name "${archive}" NAME)
  file(SHA256 "${archive}" first)
  file(SHA256 "${WORK}/${name}" again)
  if(NOT first STREQUAL again)
    message(FATAL_ERROR "${name} differs when packed again (uid ${uid} then nobody)")
  endif()
endforeach()
file(REMOVE_RECURSE "${WORK}")

# unpack(<archive>...): unpacks the archives into one fresh folder under the
# system's temporary folder, far from any build tree; ROOT is their top
# folder NAME there, SCRATCH an empty folder beside it. remove_unpacked()
# removes both; a failed test leaves them for a look.
function(unpack)
  set(base "$ENV{TMPDIR}")
  if(NOT base)
    set(base /tmp)
  endif()
  string(RANDOM LENGTH 12 tag)
  set(folder "${base}/orv-release-${tag}")
  file(MAKE_DIRECTORY "${folder}/unpacked" "${folder}/scratch")
  foreach(archive IN LISTS ARGN)
    execute_process(COMMAND ${CMAKE_COMMAND} -E tar xf "${archive}" WORKING_DIRECTORY "${folder}/unpacked"
      RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
      message(FATAL_ERROR "${archive} did not unpack: scripts/package makes it")
    endif()
  endforeach()
  set(UNPACKED "${folder}" PARENT_SCOPE)
  set(ROOT "${folder}/unpacked/${NAME}" PARENT_SCOPE)
  set(SCRATCH "${folder}/scratch" PARENT_SCOPE)
endfunction()

function(remove_unpacked)
  file(REMOVE_RECURSE "${UNPACKED}")
endfunction()

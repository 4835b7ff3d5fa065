# orvhost_plugin(<target>): makes <target> a plug-in module as the host loads
# one.
# - Its libraries are taken from its own folder first. The host loads a
#   Windows plug-in that way by itself; on Linux the module gets a RUNPATH of
#   $ORIGIN, then $ORIGIN/../lib, where the host libraries lie beside the
#   plug-in folder in the host's tree, ahead of any it has, in the build tree
#   as installed.
# - It brings no code that changes the host's floating-point environment.
#   With -ffast-math, -funsafe-math-optimizations or -Ofast among the flags,
#   GCC links crtfastmath.o, whose constructor turns on flush-to-zero for the
#   whole process as the module loads (GCC 13 and later no longer do for a
#   shared module). The first two are undone at the link; -Ofast cannot be,
#   so a module that still has that code fails its build.

# Run as a script after the link: MODULE is the linked file, NM the tool.
if(CMAKE_SCRIPT_MODE_FILE)
  execute_process(COMMAND "${NM}" "${MODULE}" OUTPUT_VARIABLE symbols ERROR_QUIET)
  if(symbols MATCHES "[ \t]set_fast_math\n")
    file(REMOVE "${MODULE}")
    message(FATAL_ERROR "${MODULE} was linked with GCC's crtfastmath.o (from -Ofast), which would turn on "
      "flush-to-zero for the whole host as it loads: build plug-ins without -Ofast")
  endif()
  return()
endif()

function(orvhost_plugin target)
  target_link_options(${target} PRIVATE "$<$<CXX_COMPILER_ID:GNU,Clang>:-fno-fast-math;-fno-unsafe-math-optimizations>")
  if(CMAKE_NM)
    add_custom_command(TARGET ${target} POST_BUILD
      COMMAND ${CMAKE_COMMAND} -DMODULE=$<TARGET_FILE:${target}> -DNM=${CMAKE_NM} -P ${CMAKE_CURRENT_FUNCTION_LIST_FILE}
      VERBATIM)
  endif()
  if(WIN32 OR APPLE)
    return()
  endif()
  get_target_property(folders ${target} INSTALL_RPATH)
  if(NOT folders)
    set(folders "")
  endif()
  list(REMOVE_ITEM folders "$ORIGIN" "$ORIGIN/../lib")
  # The same search path in the build tree: a host has its libraries loaded
  # before any plug-in, and CMake's own build-tree path would end in an empty
  # entry, which means the current directory.
  set_target_properties(${target} PROPERTIES INSTALL_RPATH "$ORIGIN;$ORIGIN/../lib;${folders}"
    BUILD_WITH_INSTALL_RPATH ON)
  # RUNPATH, not the older RPATH, which would outrank LD_LIBRARY_PATH.
  target_link_options(${target} PRIVATE "LINKER:--enable-new-dtags")
endfunction()

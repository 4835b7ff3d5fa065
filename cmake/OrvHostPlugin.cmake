# orvhost_plugin(<target>): makes <target> a plug-in module as the host loads
# one, with the libraries it needs taken from its own folder first. The host
# loads a Windows plug-in that way by itself; on Linux the module gets a
# RUNPATH of $ORIGIN, ahead of any it has.
function(orvhost_plugin target)
  if(WIN32 OR APPLE)
    return()
  endif()
  foreach(property BUILD_RPATH INSTALL_RPATH)
    get_target_property(folders ${target} ${property})
    if(NOT folders)
      set(folders "")
    endif()
    list(REMOVE_ITEM folders "$ORIGIN")
    set_property(TARGET ${target} PROPERTY ${property} "$ORIGIN" ${folders})
  endforeach()
  # RUNPATH, not the older RPATH, which would outrank LD_LIBRARY_PATH.
  target_link_options(${target} PRIVATE "LINKER:--enable-new-dtags")
endfunction()

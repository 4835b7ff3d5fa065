# The host and its plug-ins share one C++ runtime, as they do on Windows:
# shared pointers, wide strings and exceptions cross module boundaries. Its
# DLLs go beside the programs, in the build tree and in the installed tree.
set(ORV_MINGW_RUNTIME_DLLS)
foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
    OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT IS_ABSOLUTE "${path}" OR NOT EXISTS "${path}")
    message(FATAL_ERROR "MinGW runtime DLL ${dll} not found by ${CMAKE_CXX_COMPILER}")
  endif()
  list(APPEND ORV_MINGW_RUNTIME_DLLS ${path})
endforeach()
file(COPY ${ORV_MINGW_RUNTIME_DLLS} DESTINATION ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
install(FILES ${ORV_MINGW_RUNTIME_DLLS} DESTINATION ${CMAKE_INSTALL_BINDIR})

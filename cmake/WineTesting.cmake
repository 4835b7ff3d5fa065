# Runs the Windows test programs under Wine: headless, with a Wine prefix
# inside the build tree, and one wineserver kept alive for the whole ctest
# run so that each program starts in a fraction of a second.
find_program(WINE64 wine64 PATHS /usr/lib/wine NO_DEFAULT_PATH REQUIRED)
find_program(WINESERVER wineserver PATHS /usr/lib/wine NO_DEFAULT_PATH REQUIRED)

set(ORV_WINEPREFIX ${PROJECT_BINARY_DIR}/wineprefix)
# err+module keeps the loader's errors visible: without it a missing DLL
# only shows as a silent exit code.
set(ORV_WINE_ENVIRONMENT
  WINEPREFIX=${ORV_WINEPREFIX} WINEDEBUG=-all,err+module WINEDLLOVERRIDES=mscoree,mshtml= DISPLAY=)
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/bin/env ${ORV_WINE_ENVIRONMENT} ${WINE64})

# A prefix that failed to come up would fail every test later with no clear
# cause: stop here instead, with what wineboot said.
if(NOT EXISTS ${ORV_WINEPREFIX}/system.reg)
  message(STATUS "Creating the Wine prefix ${ORV_WINEPREFIX}")
  execute_process(COMMAND /usr/bin/env ${ORV_WINE_ENVIRONMENT} ${WINE64} wineboot -i
    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output INPUT_FILE /dev/null)
  execute_process(COMMAND /usr/bin/env WINEPREFIX=${ORV_WINEPREFIX} ${WINESERVER} -w)
  if(NOT result EQUAL 0 OR NOT EXISTS ${ORV_WINEPREFIX}/system.reg)
    file(REMOVE_RECURSE ${ORV_WINEPREFIX})
    message(FATAL_ERROR "Creating the Wine prefix ${ORV_WINEPREFIX} failed (wineboot: ${result}):\n${output}")
  endif()
endif()

# Every Wine-run test requires the fixture "wine". Its services get no ctest
# pipe to hold, or ctest would wait for them.
add_test(NAME wine.start COMMAND sh -c
  "export ${ORV_WINE_ENVIRONMENT}; exec </dev/null >/dev/null 2>&1; ${WINESERVER} -p && ${WINE64} wineboot")
set_tests_properties(wine.start PROPERTIES FIXTURES_SETUP wine)
add_test(NAME wine.stop COMMAND sh -c "WINEPREFIX=${ORV_WINEPREFIX} ${WINESERVER} -k; true")
set_tests_properties(wine.stop PROPERTIES FIXTURES_CLEANUP wine)

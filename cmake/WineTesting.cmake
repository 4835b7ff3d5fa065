# Runs the Windows test programs under Wine: headless, with a Wine prefix
# inside the build tree, and one wineserver kept alive for the whole ctest
# run so that each program starts in a fraction of a second.
find_program(WINE64 wine64 PATHS /usr/lib/wine NO_DEFAULT_PATH REQUIRED)
find_program(WINESERVER wineserver PATHS /usr/lib/wine NO_DEFAULT_PATH REQUIRED)

set(ORV_WINEPREFIX ${PROJECT_BINARY_DIR}/wineprefix)
# err+module keeps the loader's errors visible: without it a missing DLL
# only shows as a silent exit code. Wine maps file names through the
# locale's character set: under C or POSIX, as in a container with no LANG,
# a name beyond ASCII reaches the file system as other bytes. C.UTF-8 is on
# every Debian system.
set(ORV_WINE_ENVIRONMENT
  WINEPREFIX=${ORV_WINEPREFIX} WINEDEBUG=-all,err+module WINEDLLOVERRIDES=mscoree,mshtml= DISPLAY= LC_ALL=C.UTF-8)
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

# The options dialog's tests need a screen: a virtual X server, kept alive
# for the whole run as the wineserver is, for the tests that require the
# fixture "xvfb". Xvfb picks a free display itself and writes its number to
# ORV_XVFB_DISPLAY_FILE once it takes connections. Only those tests run Wine
# with ORV_WINE_GUI_EMULATOR, which leaves DISPLAY to them; every other test
# stays headless.
find_program(XVFB Xvfb REQUIRED)
set(ORV_XVFB_FOLDER ${PROJECT_BINARY_DIR}/xvfb)
set(ORV_XVFB_DISPLAY_FILE ${ORV_XVFB_FOLDER}/display)
set(guiEnvironment ${ORV_WINE_ENVIRONMENT})
list(FILTER guiEnvironment EXCLUDE REGEX "^DISPLAY=")
set(ORV_WINE_GUI_EMULATOR /usr/bin/env ${guiEnvironment} ${WINE64})
add_test(NAME xvfb.start COMMAND sh -c
  "rm -rf ${ORV_XVFB_FOLDER} && mkdir -p ${ORV_XVFB_FOLDER} || exit 1
   exec </dev/null >/dev/null 2>&1
   ${XVFB} -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>${ORV_XVFB_DISPLAY_FILE} &
   echo $! >${ORV_XVFB_FOLDER}/pid
   i=0; while [ ! -s ${ORV_XVFB_DISPLAY_FILE} ] && [ $i -lt 200 ]; do sleep 0.1; i=$((i+1)); done
   [ -s ${ORV_XVFB_DISPLAY_FILE} ]")
set_tests_properties(xvfb.start PROPERTIES FIXTURES_SETUP xvfb)
add_test(NAME xvfb.stop COMMAND sh -c "kill $(cat ${ORV_XVFB_FOLDER}/pid); true")
set_tests_properties(xvfb.stop PROPERTIES FIXTURES_CLEANUP xvfb)

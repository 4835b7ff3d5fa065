# orvhost validate: our module passes every check; each fixture fails the
# check it breaks and no other (a crash among them), with the checks it
# leaves unmade skipped; a hang is ended by the time-out. Text, JSON and
# JUnit XML tell the same.
include(${CMAKE_CURRENT_LIST_DIR}/../scenarios/Orvhost.cmake)
# Under AddressSanitizer (the sanitize preset) too, a segfault is to end the
# check process by its signal rather than by the sanitizer's report.
set(ORVHOST_ENV ASAN_OPTIONS=handle_segv=0)

# "--" before the modules: under Wine their paths begin with '/', which
# orvhost.exe would take for a Windows-style option.
orvhost(0 validate -- "${MODULE}" OUT "^[^\n]*solidworksimporter\\${SUFFIX}\n(  PASS [^\n]+\n)+$")

# fixture|the check it fails|the reason, in part (no ";", which would split the row)|checks skipped
set(rows
  "exports|entry points|exports neither createPlugin nor destroyPlugin. both must be exported undecorated|11"
  "identity|identity|^the version is empty \\(addVersion\\). the release date is empty|0"
  "grammar|filter grammar|^the dialog filter is not pairs of patterns and a description: \"\\*.demo.Demo Files\"$|2"
  "copy|filter copy|^at capacity 15 the dialog filter is written beyond it, at character 15.|0"
  "case|canImport|^\"MODEL.DEMO\" is refused, though the filters give \\*.demo$|0"
  "document|createDocument|^createDocument gives no document for \"model.demo\"|0"
  "pairing|option sets|^the default set.s option 2 \"Mesh Density\": an int value \\(type 3\\) shown by a check box.|0"
  "roundtrip|settings round trip|^\"Mesh Density\": saved 1, loaded 0$|0"
  "destroy|destroyPlugin|^destroyPlugin left the caller's pointer set$|0"
  "shares|shares released|^loadPreferences kept a share of its store: owners 1 before the call, 2 after it$|0"
  "destroyPlugin_unrelated|nothing thrown|^destroyPlugin threw: unknown exception$|0"
  "fenv|floating-point environment|^loading the module: flush-to-zero turned on, denormals-are-zero turned on$|0"
  "crash|canImport|^the check process ended by (signal 11 |exception 0xC0000005 )|7")
list(TRANSFORM rows REPLACE "^([^|]*)[|].*$" "${FIXTURES}/fixture_\\1${SUFFIX}" OUTPUT_VARIABLE modules)
execute_process(COMMAND "${CMAKE_COMMAND}" -E env ${ORVHOST_ENV} ${emulator} "${ORVHOST}" --json validate --junit report.xml -- ${modules}
  WORKING_DIRECTORY "${WORK}" RESULT_VARIABLE status OUTPUT_VARIABLE json ERROR_VARIABLE err)
if(NOT status EQUAL 4 OR NOT err MATCHES "13 of 13 modules did not pass every check")
  message(FATAL_ERROR "validate ended with ${status}\n${json}\n${err}")
endif()
foreach(row IN LISTS rows)
  string(REGEX REPLACE "^([^|]*)[|]([^|]*)[|](.*)[|]([0-9]+)$" "\\1;\\2;\\3;\\4" fields "${row}")
  list(POP_FRONT fields fixture failing reason skipped)
  list(FIND modules "${FIXTURES}/fixture_${fixture}${SUFFIX}" index)
  set(told "")
  foreach(check RANGE 11)
    string(JSON name GET "${json}" modules ${index} checks ${check} check)
    string(JSON result GET "${json}" modules ${index} checks ${check} result)
    if(name STREQUAL failing)
      string(JSON said GET "${json}" modules ${index} checks ${check} reason)
      if(NOT result STREQUAL "fail" OR NOT said MATCHES "${reason}")
        message(FATAL_ERROR "fixture_${fixture}: ${name}: ${result}: ${said}")
      endif()
    elseif(NOT result STREQUAL "pass")
      list(APPEND told "${result}")
    endif()
  endforeach()
  string(REPEAT "skip;" ${skipped} expected)
  if(NOT "${told};" STREQUAL "${expected}" AND NOT (skipped EQUAL 0 AND told STREQUAL ""))
    message(FATAL_ERROR "fixture_${fixture}: other checks: ${told}, not ${skipped} skipped")
  endif()
endforeach()

file(READ "${WORK}/report.xml" xml)
foreach(pattern "^<\\?xml version=\"1.0\" encoding=\"UTF-8\"\\?>\n<testsuites name=\"orvhost validate\" tests=\"156\" failures=\"13\" errors=\"0\" skipped=\"20\">\n  <testsuite name=\"[^\"]*fixture_exports\\${SUFFIX}\" tests=\"12\" failures=\"1\" errors=\"0\" skipped=\"11\">\n"
    "<testcase classname=\"fixture_roundtrip\" name=\"settings round trip\">\n      <failure message=\"&quot;Mesh Density&quot;: saved 1, loaded 0\"/>\n    </testcase>\n"
    "<testcase classname=\"fixture_crash\" name=\"destroyPlugin\">\n      <skipped message=\"not run: the check process ended in canImport\"/>")
  if(NOT xml MATCHES "${pattern}")
    message(FATAL_ERROR "report.xml does not match ${pattern}:\n${xml}")
  endif()
endforeach()

# The time-out counts from the check process's start, which a cold Wine on a
# busy machine can make take seconds before canImport is reached.
orvhost(4 validate --timeout 10 -- "${FIXTURES}/fixture_hang${SUFFIX}"
  OUT "\n  FAIL canImport: no answer within 10 s: the check process was ended\n" ERR "1 of 1 modules did not pass")

# Every ELF program and shared library under BUILD looks for libraries only in
# absolute folders or in ones relative to its own ($ORIGIN): no RPATH or
# RUNPATH entry that is empty, '.' or another folder relative to wherever the
# program was started. Arguments: BUILD, READELF.
# What the build links: its programs and libraries, and the test modules.
# Not scratch/, which tests running beside this one fill and empty.
file(GLOB_RECURSE files LIST_DIRECTORIES false "${BUILD}/bin/*" "${BUILD}/lib/*" "${BUILD}/plugins/*"
  "${BUILD}/tests/*.so")
list(FILTER files EXCLUDE REGEX "/CMakeFiles/|/tests/(package|release)/|\\.(o|a|cmake|txt|ninja|log|ini)$")
set(checked 0)
foreach(file IN LISTS files)
  # The ELF magic, and a type of 2 (a program) or 3 (a shared object).
  file(READ "${file}" header LIMIT 18 HEX)
  if(header MATCHES "^7f454c46.*0[23]00$")
    math(EXPR checked "${checked} + 1")
    execute_process(COMMAND ${READELF} -d "${file}" OUTPUT_VARIABLE dynamic COMMAND_ERROR_IS_FATAL ANY)
    string(REGEX MATCHALL "\\((RPATH|RUNPATH)\\)[^\n]*" entries "${dynamic}")
    foreach(entry IN LISTS entries)
      # Split on ':' after a sentinel, so that empty entries stay visible.
      string(REGEX REPLACE "^[^[]*\\[(.*)\\]$" "|\\1" folders "${entry}")
      string(REPLACE ":" ";|" folders "${folders}")
      foreach(folder IN LISTS folders)
        if(NOT folder MATCHES "^\\|(/|\\$ORIGIN(/|$)|\\$\\{ORIGIN\\}(/|$))")
          message(SEND_ERROR "library search path relative to the current directory: ${file}: ${entry}")
        endif()
      endforeach()
    endforeach()
  endif()
endforeach()
if(checked EQUAL 0)
  message(FATAL_ERROR "no ELF program or library under ${BUILD}")
endif()

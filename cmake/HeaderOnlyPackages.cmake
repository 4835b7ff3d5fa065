# CLI11 and nlohmann-json, from Debian's packages, are headers only, so the
# Windows build can use them too. It must not see /usr/include itself (the
# Linux C library lives there): it gets a copy of just their folders.
function(orv_header_only_package target header)
  string(MAKE_C_IDENTIFIER "${target}_ROOT" root)
  find_path(${root} NAMES ${header} PATHS /usr/include NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
  if(NOT ${root})
    message(FATAL_ERROR "${header} not found: scripts/install-deps installs it")
  endif()
  string(REGEX REPLACE "/.*" "" folder "${header}")
  add_library(${target} INTERFACE IMPORTED GLOBAL)
  if(CMAKE_CROSSCOMPILING)
    set(copy ${CMAKE_BINARY_DIR}/header-only)
    file(COPY ${${root}}/${folder} DESTINATION ${copy})
    target_include_directories(${target} SYSTEM INTERFACE ${copy})
  elseif(NOT ${root} STREQUAL "/usr/include")
    target_include_directories(${target} SYSTEM INTERFACE ${${root}})
  endif()
endfunction()

orv_header_only_package(orv::cli11 CLI/CLI.hpp)
orv_header_only_package(orv::json nlohmann/json.hpp)

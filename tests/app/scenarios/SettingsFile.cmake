# The settings file as users keep it: what orvhost does not understand stays
# as it stands, a value it cannot read is reported with file and line, and a
# file it cannot read or write is never replaced.
include(${CMAKE_CURRENT_LIST_DIR}/Orvhost.cmake)

set(kept "; kept by hand\n[Other Program]\nRead Solids=5\n\n[SolidWorks Import]\n# a note\n")
file(WRITE "${WORK}/orvhost.ini" "${kept}Read Solids=yes\nForeign Key=hello\nnot a key line\n")
orvhost(0 --settings orvhost.ini options OUT "Read Solids +bool +true "
  ERR "warning: [^\n]*orvhost.ini:7: [^\n]*Read Solids[^\n]*yes")
orvhost(0 --settings orvhost.ini options set "Set Reading Mode=1")
file(READ "${WORK}/orvhost.ini" content)
string(FIND "${content}" "${kept}Read Solids=1\nForeign Key=hello\nnot a key line\n" at)
if(NOT at EQUAL 0 OR NOT content MATCHES "\nSet Reading Mode=1\n")
  message(FATAL_ERROR "the settings file lost what it held:\n${content}")
endif()

# The user's own file, when no --settings is given.
if(NOT WIN32 AND NOT EMULATOR)
  set(ORVHOST_ENV "XDG_CONFIG_HOME=${WORK}/xdg")
  orvhost(0 options set "Read PMI=0")
  if(NOT EXISTS "${WORK}/xdg/orvhost/orvhost.ini")
    message(FATAL_ERROR "no settings file under XDG_CONFIG_HOME")
  endif()
  orvhost(0 options OUT "Read PMI +bool +false")
  unset(ORVHOST_ENV)
endif()

# A folder where the file should be: an error, and the folder stays.
file(MAKE_DIRECTORY "${WORK}/folder.ini")
orvhost(6 --settings folder.ini options ERR "folder.ini")
orvhost(6 --settings folder.ini options set "Read Solids=0" ERR "folder.ini")
if(NOT IS_DIRECTORY "${WORK}/folder.ini")
  message(FATAL_ERROR "the folder in the settings file's place is gone")
endif()

# A file that is no text: not read, and never overwritten.
file(COPY_FILE "${MODULE}" "${WORK}/binary.ini")
file(SHA256 "${WORK}/binary.ini" binary)
orvhost(6 --settings binary.ini options ERR "binary.ini")
orvhost(6 --settings binary.ini options set "Read Solids=0" ERR "binary.ini")
orvhost(6 --settings binary.ini open part.sldprt ERR "binary.ini")
expect_unchanged("${WORK}/binary.ini" "${binary}")
orvhost(0 --settings binary.ini options --defaults)

# A read-only file is read, but not replaced.
file(WRITE "${WORK}/readonly.ini" "[SolidWorks Import]\nRead Solids=0\n")
file(CHMOD "${WORK}/readonly.ini" PERMISSIONS OWNER_READ GROUP_READ WORLD_READ)
file(SHA256 "${WORK}/readonly.ini" readonly)
orvhost(0 --settings readonly.ini options OUT "Read Solids +bool +false")
orvhost(6 --settings readonly.ini options set "Read Solids=1" ERR "read-only")
expect_unchanged("${WORK}/readonly.ini" "${readonly}")
file(GLOB left "${WORK}/*.tmp" "${WORK}/.*.tmp")
if(left)
  message(FATAL_ERROR "a failed save left ${left}")
endif()
file(CHMOD "${WORK}/readonly.ini" PERMISSIONS OWNER_READ OWNER_WRITE)

# Through a link, the file it names is saved and the link stays; under Wine
# too, where a Unix link looks like a plain file.
file(WRITE "${WORK}/target.ini" "[SolidWorks Import]\nRead Solids=1\n")
file(CREATE_LINK target.ini "${WORK}/link.ini" SYMBOLIC)
orvhost(0 --settings link.ini options set "Read Solids=0")
file(READ "${WORK}/target.ini" content)
if(NOT IS_SYMLINK "${WORK}/link.ini" OR NOT content MATCHES "\nRead Solids=0\r?\n")
  message(FATAL_ERROR "saving through link.ini replaced the link, or not the file behind it:\n${content}")
endif()

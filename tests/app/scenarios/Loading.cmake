# The loader: a missing folder, an empty one, a file that is no module and a
# module without entry points each get their own message and status; the
# usable module beside them still loads.
include(${CMAKE_CURRENT_LIST_DIR}/Orvhost.cmake)

orvhost(3 --plugin-dir "${WORK}/nowhere" plugins ERR "no plug-in folder at .*nowhere")
file(MAKE_DIRECTORY "${WORK}/empty")
orvhost(3 --plugin-dir "${WORK}/empty" check a.sldprt ERR "no plug-in modules \\(\\*${SUFFIX}\\) in ")

file(MAKE_DIRECTORY "${WORK}/mixed")
file(WRITE "${WORK}/mixed/notes${SUFFIX}" "only text\n")
file(COPY_FILE "${NO_PLUGIN}" "${WORK}/mixed/noentry${SUFFIX}")
orvhost(4 --plugin-dir "${WORK}/mixed" plugins
  ERR "notes\\${SUFFIX}: [^\n]+" ERR "noentry\\${SUFFIX}: not a plug-in: it does not export createPlugin")
orvhost(4 --plugin-dir "${WORK}/mixed" open a.sldprt ERR "no importer plug-in in [^\n]*mixed\n  [^\n]*noentry")

file(COPY_FILE "${MODULE}" "${WORK}/mixed/solidworksimporter${SUFFIX}")
orvhost(4 --plugin-dir "${WORK}/mixed" plugins OUT "^SolidWorks Importer\n" ERR "notes" ERR "noentry")
orvhost(0 --plugin-dir "${WORK}/mixed" check a.sldprt OUT "a.sldprt: SolidWorks Importer" ERR "noentry")

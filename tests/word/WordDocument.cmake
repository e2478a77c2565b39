# The Word document of samples/Document, from the programs to what
# LibreOffice shows:
#   cmake -DCMD=UsagramCmd.exe -DWINDOW_TESTS=word_tests.exe -DCHECKER=word_rendered.exe
#         -DEMULATOR=... -DSAMPLE=samples/Document -DWORK=dir -P WordDocument.cmake
# 1. UsagramCmd --document writes it in both dialects, and the main window's
#    Ctrl+G writes it once more (the window test, told where by WORD_WORK);
# 2. LibreOffice converts each to PDF and to text, poppler describes the PDF;
# 3. the checker reads those descriptions and checks the documents.
# The page pictures stay in WORK for people to look at.
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
file(COPY "${SAMPLE}/" DESTINATION "${WORK}/project")

include(${CMAKE_CURRENT_LIST_DIR}/../standins/RenderDocument.cmake)

# The drawing order, which the document's sections follow.
describe("${WORK}/layout.txt" ${EMULATOR} "${CMD}" --layout --basic X project/Gestion.dpr)
run(${EMULATOR} "${CMD}" --document WordBasic.doc --word95 --pictures project/pictures --basic X project/Gestion.dpr)
run(${EMULATOR} "${CMD}" --document Word97.doc --word97 --pictures project/pictures --basic X project/Gestion.dpr)
if(NOT EXISTS "${WORK}/Word97.EMF")
  message(FATAL_ERROR "the Word 97 path left no diagram file beside the document")
endif()
run(${CMAKE_COMMAND} -E env WORD_WORK=${WORK} ${EMULATOR} "${WINDOW_TESTS}"
    --gtest_filter=WordWindow.CtrlGWritesTheDocumentBesideTheProject)

foreach(name WordBasic Word97 Window)
  render_document("${WORK}/${name}.doc" "${WORK}/${name}" ${name})
endforeach()

run(${CMAKE_COMMAND} -E env WORD_WORK=${WORK} ${EMULATOR} "${CHECKER}")

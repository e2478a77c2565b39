# One dialect's document, from the calls to what LibreOffice shows:
#   cmake -DDIALECT=WordBasic|Word97 -DPRODUCER=wordproc_tests.exe -DCHECKER=wordproc_rendered.exe
#         -DEMULATOR=... -DWORK=dir -P WordprocDocument.cmake
# 1. the test program drives the server through the whole sequence and
#    saves the document in WORK;
# 2. LibreOffice converts it to PDF and to text, poppler describes the PDF;
# 3. the checker reads those descriptions and checks the document.
# The page pictures stay in WORK for people to look at.
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")

include(${CMAKE_CURRENT_LIST_DIR}/RenderDocument.cmake)

run(${CMAKE_COMMAND} -E env WORDPROC_WORK=${WORK} ${EMULATOR} ${PRODUCER} --gtest_filter=SequenceTest.${DIALECT})
render_document("${WORK}/${DIALECT}.doc" "${WORK}" ${DIALECT})

run(${CMAKE_COMMAND} -E env WORDPROC_WORK=${WORK} ${EMULATOR} ${CHECKER} --gtest_filter=Rendered.${DIALECT})

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

function(run)
  execute_process(COMMAND ${ARGN} WORKING_DIRECTORY "${WORK}" RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "failed (${rc}): ${ARGN}\n${out}\n${err}")
  endif()
endfunction()

function(describe output)
  execute_process(COMMAND ${ARGN} WORKING_DIRECTORY "${WORK}" RESULT_VARIABLE rc OUTPUT_FILE "${WORK}/${output}"
                  ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "failed (${rc}): ${ARGN}\n${err}")
  endif()
endfunction()

run(${CMAKE_COMMAND} -E env WORDPROC_WORK=${WORK} ${EMULATOR} ${PRODUCER} --gtest_filter=SequenceTest.${DIALECT})
set(doc "${WORK}/${DIALECT}.doc")
if(NOT EXISTS "${doc}")
  message(FATAL_ERROR "no document ${doc}")
endif()

# A profile of its own: LibreOffice hands a conversion to any instance that
# already runs with the same profile.
set(office soffice "-env:UserInstallation=file://${WORK}/office-profile" --headless)
run(${office} --convert-to pdf --outdir "${WORK}" "${doc}")
run(${office} --convert-to "txt:Text (encoded):UTF8" --outdir "${WORK}" "${doc}")
set(pdf "${WORK}/${DIALECT}.pdf")
describe(pdfinfo.txt pdfinfo "${pdf}")
describe(pdffonts.txt pdffonts "${pdf}")
describe(pdfimages.txt pdfimages -list "${pdf}")
describe(layout.txt pdftotext -layout "${pdf}" -)
run(pdftotext -bbox "${pdf}" "${WORK}/bbox.html")
run(pdftoppm -png -r 60 "${pdf}" "${WORK}/page")

run(${CMAKE_COMMAND} -E env WORDPROC_WORK=${WORK} ${EMULATOR} ${CHECKER} --gtest_filter=Rendered.${DIALECT})

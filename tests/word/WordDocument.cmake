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

function(run)
  execute_process(COMMAND ${ARGN} WORKING_DIRECTORY "${WORK}" RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "failed (${rc}): ${ARGN}\n${out}\n${err}")
  endif()
endfunction()

function(describe output)
  execute_process(COMMAND ${ARGN} WORKING_DIRECTORY "${WORK}" RESULT_VARIABLE rc OUTPUT_FILE "${output}"
                  ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "failed (${rc}): ${ARGN}\n${err}")
  endif()
endfunction()

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
  set(doc "${WORK}/${name}.doc")
  if(NOT EXISTS "${doc}")
    message(FATAL_ERROR "no document ${doc}")
  endif()
  set(dir "${WORK}/${name}")
  file(MAKE_DIRECTORY "${dir}")
  # A profile of its own: LibreOffice hands a conversion to any instance
  # that already runs with the same profile.
  set(office soffice "-env:UserInstallation=file://${WORK}/office-profile" --headless)
  run(${office} --convert-to pdf --outdir "${dir}" "${doc}")
  run(${office} --convert-to "txt:Text (encoded):UTF8" --outdir "${dir}" "${doc}")
  set(pdf "${dir}/${name}.pdf")
  describe("${dir}/pdfinfo.txt" pdfinfo "${pdf}")
  describe("${dir}/pdffonts.txt" pdffonts "${pdf}")
  describe("${dir}/pdfimages.txt" pdfimages -list "${pdf}")
  describe("${dir}/layout.txt" pdftotext -layout "${pdf}" -)
  run(pdftotext -bbox "${pdf}" "${dir}/bbox.html")
  run(pdftoppm -png -r 60 "${pdf}" "${dir}/page")
endforeach()

run(${CMAKE_COMMAND} -E env WORD_WORK=${WORK} ${EMULATOR} "${CHECKER}")

# What the document scripts share, run in ${WORK}:
#   run(COMMAND...)             stops the script when the command fails;
#   describe(FILE COMMAND...)   the same, its output saved in FILE;
#   render_document(DOC DIR NAME)
#     LibreOffice converts DOC to DIR/NAME.pdf and DIR/NAME.txt, and poppler
#     describes the PDF in the files that TRenderedDocument reads
#     (pdfinfo.txt, pdffonts.txt, pdfimages.txt, layout.txt, bbox.html),
#     with a picture of each page (page-N.png) for people to look at.
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

function(render_document doc dir name)
  if(NOT EXISTS "${doc}")
    message(FATAL_ERROR "no document ${doc}")
  endif()
  file(MAKE_DIRECTORY "${dir}")
  # A profile of its own: LibreOffice hands a conversion to any instance that
  # already runs with the same profile.
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
endfunction()

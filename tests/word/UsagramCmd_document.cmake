# UsagramCmd --document as a script runs it, on a copy of samples/Document:
#   cmake -DCMD=UsagramCmd.exe -DWORDPROC=wordproc.exe -DEMULATOR=... -DSAMPLE=dir -DWORK=dir -DCASE=name
#         -P UsagramCmd_document.cmake
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
file(COPY "${SAMPLE}/" DESTINATION "${WORK}/project")

include(${CMAKE_CURRENT_LIST_DIR}/../common/RunCmd.cmake)

function(expect_no_document)
  if(EXISTS "${WORK}/d.doc")
    message(FATAL_ERROR "a document was written:\n${ERR}")
  endif()
endfunction()

if(CASE STREQUAL "refusals")
  # Command-line mistakes: exit code 2, one line, nothing written.
  foreach(args "--word95;--emf;d.emf;project/Gestion.dpr"
               "--pictures;project/pictures;--model;project/Gestion.dpr"
               "--document;d.doc;--word95;--word97;project/Gestion.dpr"
               "--document;d.doc;--png;d.png;project/Gestion.dpr"
               "--document;d.doc;--document;e.doc;project/Gestion.dpr"
               "--document;d.doc;--pictures;a;--pictures;b;project/Gestion.dpr"
               "--document;project/Gestion.dpr")
    run_cmd(${args})
    expect_rc(2)
    expect_one_line("${ERR}" "${args}")
    expect_no_document()
  endforeach()
  # FILE not found: exit code 3 before any word processor is asked.
  run_cmd(--document d.doc --basic X project/Absent.dpr)
  expect_rc(3)
  expect_no_document()
elseif(CASE STREQUAL "no_word_processor")
  # Neither identifier registered: exit code 4, a clear message, nothing
  # written. The registration comes back before anything is checked.
  execute_process(COMMAND ${EMULATOR} "${WORDPROC}" /UnregServer RESULT_VARIABLE unregistered)
  run_cmd(--document d.doc --word97 --basic X project/Gestion.dpr)
  execute_process(COMMAND ${EMULATOR} "${WORDPROC}" /RegServer RESULT_VARIABLE registered)
  if(NOT unregistered EQUAL 0 OR NOT registered EQUAL 0)
    message(FATAL_ERROR "the stand-in's registration failed: ${unregistered}, ${registered}")
  endif()
  expect_rc(4)
  if(NOT ERR MATCHES "UsagramCmd: Unable to execute Microsoft Word\\(tm\\)\\.\n"
     OR NOT ERR MATCHES "UsagramCmd: no word processor answers as \"Word.Basic\" or \"Word.Application\"")
    message(FATAL_ERROR "messages:\n${ERR}")
  endif()
  expect_no_document()
  # With it there again, the same command writes the document.
  run_cmd(--document d.doc --word97 --basic X project/Gestion.dpr)
  expect_rc(0)
  if(NOT EXISTS "${WORK}/d.doc" OR NOT EXISTS "${WORK}/d.EMF")
    message(FATAL_ERROR "no document:\n${ERR}")
  endif()
elseif(CASE STREQUAL "word_processor_fails")
  # The word processor fails while writing: exit code 4 with its message;
  # an older document of that name is left as it was.
  file(WRITE "${WORK}/d.doc" "an older document")
  execute_process(COMMAND ${EMULATOR} reg add "HKCU\\Software\\Usagram Stand-ins\\wordproc" /v FailOn /d InsertionFichier /f
                  OUTPUT_QUIET ERROR_QUIET)
  run_cmd(--document d.doc --word95 --basic X project/Gestion.dpr)
  execute_process(COMMAND ${EMULATOR} reg delete "HKCU\\Software\\Usagram Stand-ins\\wordproc" /v FailOn /f
                  OUTPUT_QUIET ERROR_QUIET)
  expect_rc(4)
  if(NOT ERR MATCHES "A problem has occurred while generating document while inserting Journal : InsertionFichier failed")
    message(FATAL_ERROR "messages:\n${ERR}")
  endif()
  file(READ "${WORK}/d.doc" kept)
  if(NOT kept STREQUAL "an older document")
    message(FATAL_ERROR "the older document was changed")
  endif()
else()
  message(FATAL_ERROR "unknown case ${CASE}")
endif()

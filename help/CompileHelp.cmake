# cmake -DCHMCMD=... -DSTAGE=dir -DPROJECT=Name -P CompileHelp.cmake
# Compiles STAGE/Name.hhp into STAGE/Name.chm. chmcmd reports every page and
# picture it finds and ends with 0 even when it could not read a file: its
# errors and warnings fail the build, with its whole report.
execute_process(COMMAND ${CHMCMD} ${PROJECT}.hhp
                WORKING_DIRECTORY ${STAGE}
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT rc EQUAL 0 OR out MATCHES "(^|\n)(Error|Warning):" OR NOT EXISTS ${STAGE}/${PROJECT}.chm)
  message(FATAL_ERROR "chmcmd could not compile ${PROJECT}.hhp (exit code ${rc}):\n${out}")
endif()

# What the UsagramCmd scripts share: run_cmd(ARGS...) runs ${CMD} through
# ${EMULATOR} in ${WORK} and leaves OUT, ERR and RC; expect_rc(CODE) stops
# the script with both outputs when the exit code is another;
# expect_one_line(TEXT WHAT) stops it unless TEXT is one line that starts
# "UsagramCmd: ", as every refusal is.
function(run_cmd)
  execute_process(COMMAND ${EMULATOR} "${CMD}" ${ARGN}
                  WORKING_DIRECTORY "${WORK}"
                  OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
  set(OUT "${out}" PARENT_SCOPE)
  set(ERR "${err}" PARENT_SCOPE)
  set(RC "${rc}" PARENT_SCOPE)
endfunction()

function(expect_rc expected)
  if(NOT RC STREQUAL expected)
    message(FATAL_ERROR "exit code ${RC}, expected ${expected}\nstdout:\n${OUT}\nstderr:\n${ERR}")
  endif()
endfunction()

function(expect_one_line text what)
  string(REGEX MATCHALL "\n" lines "${text}")
  list(LENGTH lines count)
  if(NOT count EQUAL 1 OR NOT text MATCHES "^UsagramCmd: ")
    message(FATAL_ERROR "${what}: one line on standard error expected:\n${ERR}")
  endif()
endfunction()

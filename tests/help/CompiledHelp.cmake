# The compiled help files as Free Pascal's chmls lists them: every page, the
# contents, the index and every picture of the help sources is inside, and
# Usagram.chm holds the map of the windows' help contexts 1 to 7 to their
# pages.
# cmake -DCHMLS=... -DSOURCES=help/ -DPICTURES=a.png;... -DUSAGRAM_CHM=... -DQUORVEL_CHM=... -DWORK=dir -P CompiledHelp.cmake
cmake_policy(SET CMP0057 NEW)
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})

function(listing chm out)
  execute_process(COMMAND ${CHMLS} --no-page -n list ${chm}
                  RESULT_VARIABLE rc OUTPUT_VARIABLE text ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "chmls cannot list ${chm}: ${err}")
  endif()
  string(REGEX MATCHALL "/[^\n\r]*" names "${text}")
  set(${out} ${names} PARENT_SCOPE)
endfunction()

function(expect_all chm folder extra)
  listing(${chm} names)
  file(GLOB sources RELATIVE ${SOURCES}/${folder} ${SOURCES}/${folder}/*.htm
                                                  ${SOURCES}/${folder}/*.hhc ${SOURCES}/${folder}/*.hhk)
  list(APPEND sources help.css)  # shared by the books
  list(LENGTH sources count)
  if(count LESS 2)
    message(FATAL_ERROR "no help sources in ${SOURCES}/${folder}")
  endif()
  foreach(f IN LISTS sources extra)
    if(NOT "/${f}" IN_LIST names)
      message(FATAL_ERROR "${chm} does not hold ${f}; it holds:\n${names}")
    endif()
  endforeach()
  message(STATUS "${chm}: ${count} sources and their pictures inside")
endfunction()

set(pictures)
foreach(p IN LISTS PICTURES)
  list(APPEND pictures images/${p})
endforeach()
expect_all(${USAGRAM_CHM} usagram "${pictures}")
expect_all(${QUORVEL_CHM} quorvel "images/quorvel.bmp")

# The map: chmls writes Usagram.h ("#define helpidN N") and Usagram.ali
# ("helpidN=topic") from the file's own context table, beside the file: on
# a copy of our own.
file(COPY ${USAGRAM_CHM} DESTINATION ${WORK})
execute_process(COMMAND ${CHMLS} extractalias ${WORK}/Usagram.chm
                WORKING_DIRECTORY ${WORK} RESULT_VARIABLE rc OUTPUT_QUIET ERROR_QUIET)
if(NOT EXISTS ${WORK}/Usagram.ali)
  message(FATAL_ERROR "chmls found no context map in ${USAGRAM_CHM}")
endif()
file(STRINGS ${WORK}/Usagram.ali aliases)
set(expected 1 main-window.htm 2 inspect-window.htm 3 editor-window.htm 4 basic-units-window.htm
             5 locations-window.htm 6 bug-report-window.htm 7 simplification-window.htm)
while(expected)
  list(POP_FRONT expected context page)
  set(found "")
  foreach(a IN LISTS aliases)
    if(a MATCHES "^helpid${context}=(.*)$")
      get_filename_component(found "${CMAKE_MATCH_1}" NAME)
    endif()
  endforeach()
  if(NOT found STREQUAL page)
    message(FATAL_ERROR "help context ${context} maps to '${found}', not ${page}:\n${aliases}")
  endif()
endwhile()
list(LENGTH aliases n)
if(NOT n EQUAL 7)
  message(FATAL_ERROR "the context map has ${n} entries, not 7:\n${aliases}")
endif()
message(STATUS "${USAGRAM_CHM}: help contexts 1 to 7 map to their pages")

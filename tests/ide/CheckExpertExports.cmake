# cmake -DOBJDUMP=... -DDLL=expert.dll -DFORMAT=pei-i386 -P CheckExpertExports.cmake
# The library must be of that format and export INITEXPERT0017, by that
# name, and nothing else.
execute_process(COMMAND ${OBJDUMP} -p ${DLL} OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${OBJDUMP} -p ${DLL} failed:\n${err}")
endif()
if(NOT out MATCHES "file format ${FORMAT}")
  message(FATAL_ERROR "${DLL} is not ${FORMAT}")
endif()
# The export names: the lines "[   0] NAME" after "[Ordinal/Name Pointer] Table".
string(FIND "${out}" "[Ordinal/Name Pointer] Table" at)
if(at EQUAL -1)
  message(FATAL_ERROR "${DLL} exports nothing")
endif()
string(SUBSTRING "${out}" ${at} -1 table)
string(REGEX REPLACE "\n[ \t]*\n.*" "" table "${table}")  # up to the first blank line
string(REGEX MATCHALL "\\[ *[0-9]+\\] [^\n]+" entries "${table}")
set(names)
foreach(entry IN LISTS entries)
  string(REGEX REPLACE "^\\[ *[0-9]+\\] " "" name "${entry}")
  list(APPEND names "${name}")
endforeach()
if(NOT names STREQUAL "INITEXPERT0017")
  message(FATAL_ERROR "${DLL} exports \"${names}\", not INITEXPERT0017 alone")
endif()
message(STATUS "${DLL}: ${FORMAT}, exports INITEXPERT0017")

# cmake -DOBJDUMP=... -DDLL=expert.dll -DFORMAT=pei-i386 -P CheckExpertLibrary.cmake
# An expert library as the IDE loads it: of that format, exporting
# INITEXPERT0017 by that very name and nothing else, and importing only
# Windows' own libraries (no runtime DLL of the compiler, which the IDE's
# process would not find).
cmake_policy(SET CMP0057 NEW)  # if(... IN_LIST ...)
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
# The imported libraries: the lines "DLL Name: NAME".
set(system advapi32.dll comctl32.dll comdlg32.dll crypt32.dll gdi32.dll gdiplus.dll kernel32.dll msimg32.dll msvcrt.dll
    ole32.dll oleaut32.dll secur32.dll shell32.dll shlwapi.dll user32.dll version.dll winmm.dll winspool.drv ws2_32.dll)
string(REGEX MATCHALL "DLL Name: [^\n]+" lines "${out}")
set(imports)
foreach(line IN LISTS lines)
  string(REGEX REPLACE "^DLL Name: *" "" import "${line}")
  string(STRIP "${import}" import)
  string(TOLOWER "${import}" lower)
  if(NOT lower IN_LIST system)
    message(FATAL_ERROR "${DLL} imports ${import}, which is not a library of Windows")
  endif()
  list(APPEND imports "${import}")
endforeach()
list(JOIN imports " " imports)
message(STATUS "${DLL}: ${FORMAT}, exports INITEXPERT0017, imports ${imports}")

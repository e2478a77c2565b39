# Runs UsagramCmd's diagram outputs on a project written here.
#   cmake -DCMD=UsagramCmd.exe -DEMULATOR=... -DWORK=dir -DCASE=name -P UsagramCmd_diagram.cmake
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")

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

# P uses A and B, A uses B: three found units in the project's directory,
# sorted B, A, P. "--basic X" gives the lists on the command line, so the
# registry is not read.
file(WRITE "${WORK}/proj/P.dpr" "program P;\r\nuses A, B;\r\nbegin\r\nend.\r\n")
file(WRITE "${WORK}/proj/A.pas" "unit A;\r\ninterface\r\nuses B;\r\nimplementation\r\nend.\r\n")
file(WRITE "${WORK}/proj/B.pas" "unit B;\r\ninterface\r\nimplementation\r\nend.\r\n")

if(CASE STREQUAL "layout")
  run_cmd(--layout --basic X proj/P.dpr)
  expect_rc(0)
  # Three rows: RowHeight 2000 div 3 + 1 = 667, height 4 x 667. Slots B 2,
  # A 3, P 4: S = 9; names C = 3: LabelWidth 2 x 1 x 900 = 1800; pitch
  # (2700 - 1800) div 9 = 100; width 1800 + 900; dot radius 50.
  # Label i: left = 100 x (slots up to i), top = (2 - i) x 667.
  set(expected
      "layout\t100\t1800\t667\t0\t0\t0\t3\t50\t2700\t2668\n"
      "label\t0\tB\t200\t1334\t2000\t2001\t2000\t1667\t100\n"
      "label\t1\tA\t500\t667\t2300\t1334\t2300\t1000\t100\n"
      "label\t2\tP\t900\t0\t2700\t667\t2700\t333\t100\n"
      "box\t0\t0\t0\t0\n")
  string(CONCAT expected ${expected})
  if(NOT OUT STREQUAL expected)
    message(FATAL_ERROR "stdout differs.\n--- got:\n${OUT}\n--- expected:\n${expected}")
  endif()
elseif(CASE STREQUAL "outputs")
  # Output names are taken from where the command runs, not the project's directory.
  run_cmd(--emf d.emf --png d.png --width 100 --basic X proj/P.dpr)
  expect_rc(0)
  file(READ "${WORK}/d.emf" emf HEX OFFSET 40 LIMIT 4)
  if(NOT emf STREQUAL "20454d46")  # " EMF"
    message(FATAL_ERROR "d.emf is not an enhanced metafile: ${emf}")
  endif()
  file(READ "${WORK}/d.png" png HEX LIMIT 24)
  # Signature, IHDR, width 100, height round(2668 x 100 / 2700) = 99.
  if(NOT png STREQUAL "89504e470d0a1a0a0000000d494844520000006400000063")
    message(FATAL_ERROR "d.png: ${png}")
  endif()
  if(EXISTS "${WORK}/proj/d.png")
    message(FATAL_ERROR "written beside the project")
  endif()
elseif(CASE STREQUAL "refusals")
  foreach(args "--layout" "--png;x.png;--width;0;proj/P.dpr" "--layout;--width;10;proj/P.dpr"
               "--png;x.png;--hide;Nobody;--basic;X;proj/P.dpr" "--emf;--basic;X;proj/P.dpr"
               "--layout;proj/P.dpr;proj/A.pas" "--layout;--location")
    run_cmd(${args})
    expect_rc(2)
    if(ERR STREQUAL "")
      message(FATAL_ERROR "no message for ${args}")
    endif()
  endforeach()
  run_cmd(--layout --basic X proj/Nowhere.dpr)
  expect_rc(3)
  if(NOT OUT STREQUAL "")
    message(FATAL_ERROR "output for a missing file:\n${OUT}")
  endif()
else()
  message(FATAL_ERROR "unknown case ${CASE}")
endif()

# Runs UsagramCmd's diagram outputs on a project written here.
#   cmake -DCMD=UsagramCmd.exe -DEMULATOR=... -DWORK=dir -DCASE=name -P UsagramCmd_diagram.cmake
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")

include(${CMAKE_CURRENT_LIST_DIR}/../common/RunCmd.cmake)

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
elseif(CASE STREQUAL "any_order")
  # Options in any order, FILE last; a location given relative to where the command runs.
  file(WRITE "${WORK}/lib/L.pas" "unit L;\r\ninterface\r\nimplementation\r\nend.\r\n")
  file(WRITE "${WORK}/proj/Q.dpr" "program Q;\r\nuses L, A;\r\nbegin\r\nend.\r\n")
  run_cmd(--location lib --emf d.emf --png d.png proj/Q.dpr)
  expect_rc(0)
  foreach(out d.emf d.png)
    if(NOT EXISTS "${WORK}/${out}")
      message(FATAL_ERROR "${out} not written\n${ERR}")
    endif()
  endforeach()
  run_cmd(--basic X --layout proj/P.dpr)
  expect_rc(0)
  run_cmd(--basic X --model proj/P.dpr)
  expect_rc(0)
  if(NOT OUT MATCHES "unit\t2\tP\t0")
    message(FATAL_ERROR "--model after --basic:\n${OUT}")
  endif()
elseif(CASE STREQUAL "refusals")
  # Each mistake: exit code 2 and one line on standard error, nothing on standard output.
  foreach(args "--layout" "--png;x.png;--width;0;proj/P.dpr" "--layout;--width;10;proj/P.dpr"
               "--png;x.png;--hide;Nobody;--basic;X;proj/P.dpr" "--emf;--basic;X;proj/P.dpr"
               "--layout;proj/P.dpr;proj/A.pas" "--layout;--location" "--png;a.png;--png;b.png;proj/P.dpr"
               "--layout;proj/P.dpr;--basic;X" "--model;--layout;proj/P.dpr" "--tokens;--basic;X;proj/P.dpr"
               "--emf;nowhere/d.emf;--basic;X;proj/P.dpr" "--png;big.png;--width;20000;--basic;X;proj/P.dpr")
    run_cmd(${args})
    expect_rc(2)
    string(REGEX REPLACE "status: [^\n]*\n" "" said "${ERR}")
    expect_one_line("${said}" "${args}")
  endforeach()
  run_cmd(--png a.png --png b.png proj/P.dpr)
  if(NOT ERR MATCHES "--png given twice")
    message(FATAL_ERROR "${ERR}")
  endif()
  # 20000 x 19763 pixels is more than a PNG may have: the message says what this diagram allows.
  run_cmd(--png big.png --width 20000 --basic X proj/P.dpr)
  if(NOT ERR MATCHES "20000 x 19763 pixels is more than the 200 million pixels allowed; this diagram allows --width 14226 at most")
    message(FATAL_ERROR "${ERR}")
  endif()
  # A project deeper than the 259 characters Windows allows: said so, exit code 2,
  # never a "cannot find" for a file that exists.
  string(REPEAT "d" 60 part)
  set(deep "${WORK}/${part}/${part}/${part}/${part}/${part}")
  file(WRITE "${deep}/Shop.dpr" "program Shop;\r\nuses A;\r\nbegin\r\nend.\r\n")
  run_cmd(--layout --basic X ${part}/${part}/${part}/${part}/${part}/Shop.dpr)
  expect_rc(2)
  if(NOT ERR MATCHES "Shop.dpr\" is longer than the 259 characters that Windows allows" OR ERR MATCHES "Cannot find")
    message(FATAL_ERROR "a deep project:\n${ERR}")
  endif()
  run_cmd(--layout --basic X proj/Nowhere.dpr)
  expect_rc(3)
  if(NOT OUT STREQUAL "" OR NOT ERR MATCHES "Cannot find the project file \"[^\n]*Nowhere.dpr\"")
    message(FATAL_ERROR "a missing file:\n${OUT}\n${ERR}")
  endif()
elseif(CASE STREQUAL "lists")
  # --location and --basic go through the model's own operations: a location
  # given twice is one location, the 50th basic unit is refused with its message.
  file(MAKE_DIRECTORY "${WORK}/lib")
  set(args --model --location lib --location lib --location ./lib/ --basic B1)
  foreach(i RANGE 1 50)
    list(APPEND args --basic B${i})
  endforeach()
  run_cmd(${args} proj/P.dpr)
  expect_rc(0)
  string(REGEX MATCHALL "location\t[0-9]+\t[^\n]*lib\t" libs "${OUT}")
  list(LENGTH libs count)
  if(NOT count EQUAL 1)
    message(FATAL_ERROR "lib listed ${count} times:\n${OUT}")
  endif()
  if(NOT ERR MATCHES "Maximal number of basic units is reached !" OR NOT ERR MATCHES "This basic unit is already in the list !")
    message(FATAL_ERROR "no message for the 50th and the repeated basic unit:\n${ERR}")
  endif()
else()
  message(FATAL_ERROR "unknown case ${CASE}")
endif()

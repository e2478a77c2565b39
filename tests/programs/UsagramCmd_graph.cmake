# UsagramCmd's cycles, graph exports and SVG, each opened by a real
# consumer: Graphviz's dot, xmllint, networkx, Python's json.tool and
# jsonschema against the README's schema, librsvg's rsvg-convert and
# ImageMagick's compare (installed by scripts/setup.sh --tests).
#   cmake -DCMD=UsagramCmd.exe -DEMULATOR=... -DWORK=dir -DCASE=name -DSAMPLES=dir -DREADME=file -P UsagramCmd_graph.cmake
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")

include(${CMAKE_CURRENT_LIST_DIR}/../common/RunCmd.cmake)

function(need program)
  find_program(found_${program} ${program} PATHS /usr/bin NO_CACHE)
  if(NOT found_${program})
    message(FATAL_ERROR "${program} is missing: scripts/setup.sh --tests installs it")
  endif()
  set(${program} "${found_${program}}" PARENT_SCOPE)
endfunction()

# Runs a consumer; stops with what it said unless it succeeds. Leaves TOOL_OUT.
function(consume)
  execute_process(COMMAND ${ARGN} WORKING_DIRECTORY "${WORK}" OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
  if(NOT rc STREQUAL "0")
    message(FATAL_ERROR "${ARGN}: exit ${rc}\n${out}\n${err}")
  endif()
  set(TOOL_OUT "${out}" PARENT_SCOPE)
endfunction()

function(expect_text got expected what)
  if(NOT got STREQUAL expected)
    message(FATAL_ERROR "${what} differs.\n--- got:\n${got}\n--- expected:\n${expected}")
  endif()
endfunction()

set(CHECK "${CMAKE_CURRENT_LIST_DIR}/check_graph.py")

# G uses Main and Lib1 (in the location lib), the basic unit SysUtils and
# Gone, which is nowhere. Main names Gone before SysUtils: the source order,
# which the branch order turns round.
file(WRITE "${WORK}/proj/G.dpr" "program G;\r\nuses Main, Lib1, SysUtils, Gone;\r\nbegin\r\nend.\r\n")
file(WRITE "${WORK}/proj/Main.pas"
     "unit Main;\r\ninterface\r\nuses Lib1;\r\nimplementation\r\nuses Gone, SysUtils;\r\nend.\r\n")
file(WRITE "${WORK}/lib/Lib1.pas" "unit Lib1;\r\ninterface\r\nuses SysUtils;\r\nimplementation\r\nend.\r\n")
set(lists --location lib --basic SysUtils)

if(CASE STREQUAL "cycles")
  file(GLOB sample "${SAMPLES}/Cycles/*")
  file(COPY ${sample} DESTINATION "${WORK}/shop")
  run_cmd(--cycles --basic X shop/Shop.dpr)
  expect_rc(0)
  string(CONCAT expected
         "error\t1\t2\tColours,Shapes\n"
         "error-cycle\t1\tColours -> Shapes -> Colours\tinterface,interface\n"
         "component\t1\t3\tInvoices,Customers,Orders\n"
         "cycle\t1\tInvoices -> Orders -> Customers -> Invoices\timplementation,interface,interface\n"
         "component\t2\t2\tColours,Shapes\n"
         "cycle\t2\tColours -> Shapes -> Colours\tinterface,interface\n")
  expect_text("${OUT}" "${expected}" "--cycles on the sample")
  # The README shows the same lines.
  file(READ "${README}" readme)
  string(FIND "${readme}" "${expected}" at)
  if(at LESS 0)
    message(FATAL_ERROR "the README's --cycles example is not what the program prints")
  endif()
  # No cycle: nothing printed, still exit code 0.
  run_cmd(--cycles ${lists} proj/G.dpr)
  expect_rc(0)
  expect_text("${OUT}" "" "--cycles without cycles")
elseif(CASE STREQUAL "dot")
  need(dot)
  run_cmd(--dot g.dot ${lists} proj/G.dpr)
  expect_rc(0)
  consume(${dot} -Tsvg g.dot -o g-dot.svg)
  file(READ "${WORK}/g-dot.svg" rendered)
  foreach(node G Main Lib1 SysUtils Gone)
    if(NOT rendered MATCHES "<title>${node}</title>")
      message(FATAL_ERROR "dot drew no ${node}:\n${rendered}")
    endif()
  endforeach()
  file(READ "${WORK}/g.dot" text)
  # Colours as the diagram's: lib green, the project's directory blue, not
  # found red and dashed, basic units grey in the box's cluster.
  foreach(expected "\"Lib1\" \\[color=\"#008000\"\\]" "\"Main\" \\[color=\"#0000c0\"\\]"
          "\"Gone\" \\[color=\"#d00000\", style=\"filled,dashed\"" "cluster_basic {\n    label=\"Basic units\"; color=\"#808080\";\n    \"SysUtils\""
          "\"Main\" -> \"Gone\" \\[color=\"#0000c0\", style=dashed\\]" "\"Main\" -> \"Lib1\" \\[color=\"#0000c0\"\\]")
    if(NOT text MATCHES "${expected}")
      message(FATAL_ERROR "g.dot lacks ${expected}:\n${text}")
    endif()
  endforeach()
  # A hidden label goes with its edges, as the diagram leaves it out.
  run_cmd(--dot hidden.dot --hide Main ${lists} proj/G.dpr)
  expect_rc(0)
  file(READ "${WORK}/hidden.dot" text)
  if(text MATCHES "\"Main\"" OR NOT text MATCHES "\"G\" -> \"Lib1\"")
    message(FATAL_ERROR "--hide Main:\n${text}")
  endif()
  # A hidden box takes the basic units and the edges towards them.
  run_cmd(--dot box.dot --hide "Basic units" ${lists} proj/G.dpr)
  file(READ "${WORK}/box.dot" text)
  if(text MATCHES "SysUtils" OR NOT text MATCHES "\"Main\" -> \"Gone\"")
    message(FATAL_ERROR "--hide \"Basic units\":\n${text}")
  endif()
  consume(${dot} -Tsvg box.dot -o box.svg)
elseif(CASE STREQUAL "graphml")
  need(xmllint)
  run_cmd(--graphml g.graphml ${lists} proj/G.dpr)
  expect_rc(0)
  consume(${xmllint} --noout g.graphml)
  consume(/usr/bin/python3 ${CHECK} graphml g.graphml)
  string(CONCAT expected
         "node\tSysUtils\tbasic\t#808080\t128\t128\t128\n"
         "node\tGone\tnot found\t#d00000\t208\t0\t0\n"
         "node\tLib1\tfound\t#008000\t0\t128\t0\n"
         "node\tMain\tfound\t#0000c0\t0\t0\t192\n"
         "node\tG\tfound\t#0000c0\t0\t0\t192\n"
         "edge\tLib1\tSysUtils\tinterface\n"
         "edge\tMain\tLib1\tinterface\n"
         "edge\tMain\tSysUtils\timplementation\n"
         "edge\tMain\tGone\timplementation\n"
         "edge\tG\tSysUtils\timplementation\n"
         "edge\tG\tGone\timplementation\n"
         "edge\tG\tLib1\timplementation\n"
         "edge\tG\tMain\timplementation\n")
  expect_text("${TOOL_OUT}" "${expected}" "the GraphML as networkx reads it")
elseif(CASE STREQUAL "json")
  need(jq)
  file(GLOB sample "${SAMPLES}/Cycles/*")
  file(COPY ${sample} DESTINATION "${WORK}/shop")
  foreach(project "proj/G.dpr" "shop/Shop.dpr")
    run_cmd(--json g.json ${lists} ${project})
    expect_rc(0)
    consume(/usr/bin/python3 ${CHECK} json g.json "${README}")
  endforeach()
  consume(${jq} -c "[.cycles.unitsInCycles, [.cycles.errors[].units], [.cycles.components[].cycle | map(.from)]]" g.json)
  expect_text("${TOOL_OUT}" "[5,[[\"Colours\",\"Shapes\"]],[[\"Invoices\",\"Orders\",\"Customers\"],[\"Colours\",\"Shapes\"]]]\n" "jq on the cycles")
  run_cmd(--json g.json ${lists} proj/G.dpr)
  consume(${jq} -c ".units[] | select(.name == \"Main\") | [.interface, .implementation, .kind, .level, (.file | test(\"Main.PAS$\"))]" g.json)
  expect_text("${TOOL_OUT}" "[[\"Lib1\"],[\"Gone\",\"SysUtils\"],\"found\",3,true]\n" "Main in the JSON (source order)")
  consume(${jq} -c "[.locations[] | [.colour, .current]], .basicUnits, [.units[] | select(.kind != \"found\") | .name]" g.json)
  expect_text("${TOOL_OUT}" "[[\"#008000\",false],[\"#0000c0\",true]]\n[\"SysUtils\"]\n[\"SysUtils\",\"Gone\"]\n" "locations and kinds")
elseif(CASE STREQUAL "csv")
  run_cmd(--csv g.csv --hide Gone ${lists} proj/G.dpr)
  expect_rc(0)
  consume(/usr/bin/python3 ${CHECK} csv g.csv)
  string(CONCAT expected
         "Lib1\tSysUtils\tinterface\n" "Main\tLib1\tinterface\n" "Main\tSysUtils\timplementation\n"
         "G\tSysUtils\timplementation\n" "G\tLib1\timplementation\n" "G\tMain\timplementation\n")
  expect_text("${TOOL_OUT}" "${expected}" "the CSV without the hidden Gone")
elseif(CASE STREQUAL "svg")
  need(rsvg-convert)
  need(compare)
  need(convert)
  need(xmllint)
  # Every output from one analysis.
  run_cmd(--svg g.svg --png g.png --emf g.emf --dot g.dot --graphml g.graphml --json g.json --csv g.csv ${lists} proj/G.dpr)
  expect_rc(0)
  string(REGEX MATCHALL "Initializing" runs "${ERR}")
  list(LENGTH runs count)
  if(NOT count EQUAL 1)
    message(FATAL_ERROR "${count} analyses for one command:\n${ERR}")
  endif()
  foreach(out g.svg g.png g.emf g.dot g.graphml g.json g.csv)
    if(NOT EXISTS "${WORK}/${out}")
      message(FATAL_ERROR "${out} not written")
    endif()
  endforeach()
  consume(${xmllint} --noout g.svg)
  file(READ "${WORK}/g.svg" svg)
  if(svg MATCHES "not translated")
    message(FATAL_ERROR "a record of the diagram was not translated:\n${svg}")
  endif()
  foreach(name G Main Lib1 Gone "Basic units" "for Delphi 3 projects.")
    if(NOT svg MATCHES ">${name}</text>")
      message(FATAL_ERROR "no text \"${name}\" in the SVG")
    endif()
  endforeach()
  # The same picture: rsvg-convert at the PNG's size, both reduced to a
  # quarter so that anti-aliasing does not count, then compared.
  file(READ "${WORK}/g.png" header HEX OFFSET 16 LIMIT 8)
  string(SUBSTRING "${header}" 0 8 w)
  string(SUBSTRING "${header}" 8 8 h)
  math(EXPR width "0x${w}")
  math(EXPR height "0x${h}")
  if(NOT svg MATCHES "width=\"${width}\" height=\"${height}\"")
    message(FATAL_ERROR "the SVG is not ${width} x ${height}")
  endif()
  consume(${rsvg-convert} -w ${width} -h ${height} -b white g.svg -o g-svg.png)
  consume(${convert} g.png -filter box -resize 25% small-emf.png)
  consume(${convert} g-svg.png -filter box -resize 25% small-svg.png)
  consume(${convert} small-emf.png -fill white -colorize 100 small-white.png)
  # Glyph edges of the large label fonts never match pixel for pixel (two
  # rasterisers): the reduced pictures must be far closer to each other
  # than the diagram is to an empty page.
  function(rmse a b result)
    execute_process(COMMAND ${compare} -metric RMSE ${a} ${b} null: WORKING_DIRECTORY "${WORK}"
                    ERROR_VARIABLE metric OUTPUT_QUIET)
    if(NOT metric MATCHES "\\(([0-9.e-]+)\\)")
      message(FATAL_ERROR "compare said: ${metric}")
    endif()
    set(${result} "${CMAKE_MATCH_1}" PARENT_SCOPE)
  endfunction()
  rmse(small-emf.png small-svg.png close)
  rmse(small-emf.png small-white.png empty)
  message(STATUS "SVG against PNG: RMSE ${close}; PNG against an empty page: ${empty}")
  if(close GREATER 0.05 OR empty LESS 0.1)
    message(FATAL_ERROR "the SVG rendered by rsvg-convert differs from the PNG: RMSE ${close} (empty page ${empty})")
  endif()
elseif(CASE STREQUAL "refusals")
  foreach(args "--cycles;--png;x.png;proj/G.dpr" "--dot;a.dot;--dot;b.dot;proj/G.dpr" "--svg;proj/G.dpr"
               "--csv;nowhere/g.csv;--basic;X;proj/G.dpr" "--model;--json;g.json;proj/G.dpr")
    run_cmd(${args})
    expect_rc(2)
    string(REGEX REPLACE "status: [^\n]*\n" "" said "${ERR}")
    expect_one_line("${said}" "${args}")
  endforeach()
  # A diagram output of its own is a command.
  run_cmd(--csv g.csv ${lists} proj/G.dpr)
  expect_rc(0)
else()
  message(FATAL_ERROR "unknown case ${CASE}")
endif()

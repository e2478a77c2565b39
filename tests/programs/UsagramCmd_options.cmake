# UsagramCmd --options on option files written here, through the real file
# system and Windows' own XML reader.
#   cmake -DCMD=UsagramCmd.exe -DEMULATOR=... -DWORK=dir -DCASE=name -P UsagramCmd_options.cmake
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")

include(${CMAKE_CURRENT_LIST_DIR}/../common/RunCmd.cmake)

# The project uses A (in common/), B (in lib/Win64/) and C (in debug/ and,
# another one, in release/): where each is found tells which locations the
# option file gave and in which order they are searched.
function(write_unit path name)
  file(WRITE "${WORK}/${path}/${name}.pas" "unit ${name};\r\ninterface\r\nimplementation\r\nend.\r\n")
endfunction()
file(WRITE "${WORK}/proj/Shop.dpr" "program Shop;\r\nuses A, B, C;\r\nbegin\r\nend.\r\n")
write_unit(common A)
write_unit(proj/lib/Win64 B)
write_unit(proj/debug C)
write_unit(proj/release C)

# The locations of the --model report, last path component only, in list
# order ("." excluded), joined by spaces; and where each unit was found.
function(model_summary)
  set(locations)
  string(REGEX MATCHALL "location\t[0-9]+\t[^\t]*" lines "${OUT}")
  list(POP_BACK lines)
  foreach(line IN LISTS lines)
    string(REGEX REPLACE ".*\\\\" "" name "${line}")
    list(APPEND locations "${name}")
  endforeach()
  list(JOIN locations " " locations)
  set(LOCATIONS "${locations}" PARENT_SCOPE)
  set(found)
  foreach(unit A B C)
    if(OUT MATCHES "unit\t[0-9]+\t${unit}\t-?[0-9]+\t[^\n]*\\\\\\\\([A-Za-z0-9]+)\\\\\\\\${unit}\\.PAS")
      list(APPEND found "${unit}:${CMAKE_MATCH_1}")
    else()
      list(APPEND found "${unit}:-")
    endif()
  endforeach()
  list(JOIN found " " found)
  set(FOUND "${found}" PARENT_SCOPE)
endfunction()

function(expect_model locations found)
  expect_rc(0)
  model_summary()
  if(NOT LOCATIONS STREQUAL locations OR NOT FOUND STREQUAL found)
    message(FATAL_ERROR "locations \"${LOCATIONS}\" (expected \"${locations}\"), found \"${FOUND}\" "
                        "(expected \"${found}\")\nstdout:\n${OUT}\nstderr:\n${ERR}")
  endif()
endfunction()

function(expect_warnings count pattern)
  string(REGEX MATCHALL "warning: Option file " warnings "${ERR}")
  list(LENGTH warnings n)
  if(NOT n EQUAL count OR (count GREATER 0 AND NOT ERR MATCHES "${pattern}"))
    message(FATAL_ERROR "${n} warnings, expected ${count} matching \"${pattern}\":\n${ERR}")
  endif()
endfunction()

if(CASE STREQUAL "dproj")
  # As the IDE writes it: Base and Cfg_n chains, two configurations, two
  # platforms, a directory under $(BDS), the search path inherited through
  # $(DCC_UnitSearchPath) and extended per platform and configuration.
  file(WRITE "${WORK}/proj/Shop.dproj" [=[<Project xmlns="http://schemas.microsoft.com/developer/msbuild/2003">
    <PropertyGroup>
        <MainSource>Shop.dpr</MainSource>
        <Base>True</Base>
        <Config Condition="'$(Config)'==''">Debug</Config>
        <Platform Condition="'$(Platform)'==''">Win32</Platform>
    </PropertyGroup>
    <PropertyGroup Condition="'$(Config)'=='Base' or '$(Base)'!=''">
        <Base>true</Base>
    </PropertyGroup>
    <PropertyGroup Condition="('$(Platform)'=='Win64' and '$(Base)'=='true') or '$(Base_Win64)'!=''">
        <Base_Win64>true</Base_Win64>
    </PropertyGroup>
    <PropertyGroup Condition="'$(Config)'=='Debug' or '$(Cfg_1)'!=''">
        <Cfg_1>true</Cfg_1>
    </PropertyGroup>
    <PropertyGroup Condition="'$(Config)'=='Release' or '$(Cfg_2)'!=''">
        <Cfg_2>true</Cfg_2>
    </PropertyGroup>
    <PropertyGroup Condition="'$(Base)'!=''">
        <DCC_UnitSearchPath>..\common;$(BDS)\source\rtl;$(DCC_UnitSearchPath)</DCC_UnitSearchPath>
        <DCC_Namespace>System;Vcl;$(DCC_Namespace)</DCC_Namespace>
    </PropertyGroup>
    <PropertyGroup Condition="'$(Base_Win64)'!=''">
        <DCC_UnitSearchPath>lib\$(Platform);$(DCC_UnitSearchPath)</DCC_UnitSearchPath>
    </PropertyGroup>
    <PropertyGroup Condition="'$(Cfg_1)'!=''">
        <DCC_UnitSearchPath>debug;$(DCC_UnitSearchPath)</DCC_UnitSearchPath>
    </PropertyGroup>
    <PropertyGroup Condition="'$(Cfg_2)'!=''">
        <DCC_UnitSearchPath>release;$(DCC_UnitSearchPath)</DCC_UnitSearchPath>
    </PropertyGroup>
</Project>
]=])
  # The file's defaults: Debug, Win32. debug is searched first, so it is
  # listed last before ".".
  run_cmd(--model --options proj/Shop.dproj --basic X proj/Shop.dpr)
  expect_model("common debug" "A:common B:- C:debug")
  expect_warnings(1 "\"[$][(]BDS[)][\\\\]source[\\\\]rtl\" holds [$][(]BDS[)], which is not known here; it is skipped")
  run_cmd(--model --options proj/Shop.dproj --platform Win64 --basic X proj/Shop.dpr)
  expect_model("common Win64 debug" "A:common B:Win64 C:debug")
  # Conditions compare without regard to case; $(Platform) is the name as given
  # (the file system does not mind).
  run_cmd(--model --config Release --platform win64 --options proj/Shop.dproj --basic X proj/Shop.dpr)
  expect_model("common win64 release" "A:common B:win64 C:release")
  run_cmd(--model --config Release --options proj/Shop.dproj --basic X proj/Shop.dpr)
  expect_model("common release" "A:common B:- C:release")
  # DCC_Namespace (System;Vcl) gives scope names in the place of --options
  # among the --scope ones: the first that finds Dlg names it.
  file(WRITE "${WORK}/proj/Scoped.dpr" "program Scoped;\r\nuses Dlg;\r\nbegin\r\nend.\r\n")
  foreach(scope Vcl Sys)
    file(WRITE "${WORK}/proj/${scope}.Dlg.pas" "unit ${scope}.Dlg;\r\ninterface\r\nimplementation\r\nend.\r\n")
  endforeach()
  foreach(order "--options;proj/Shop.dproj;--scope;Sys:Vcl" "--scope;Sys;--options;proj/Shop.dproj:Sys")
    string(REPLACE ":" ";" order "${order}")
    list(POP_BACK order scope)
    run_cmd(--model ${order} --basic X proj/Scoped.dpr)
    expect_rc(0)
    if(NOT OUT MATCHES "Scoped[.]DPR\t\t${scope}[.]Dlg")
      message(FATAL_ERROR "${order}: Dlg is not ${scope}.Dlg:\n${OUT}")
    endif()
  endforeach()
  # In its place among the list options: a --location after it is searched
  # before the file's directories, one before it after them.
  run_cmd(--model --location proj/release --options proj/Shop.dproj --location proj/lib/Win64 --basic X proj/Shop.dpr)
  expect_model("release common debug Win64" "A:common B:Win64 C:debug")
elseif(CASE STREQUAL "dof")
  file(WRITE "${WORK}/proj/Shop.dof"
       "[FileVersion]\r\nVersion=7.0\r\n[Directories]\r\nOutputDir=\r\n"
       "SearchPath=$(DELPHI)\\Lib;release;..\\common;release\r\nPackages=Vcl50\r\n")
  run_cmd(--model --options proj/Shop.dof --basic X proj/Shop.dpr)
  # release is listed twice: it keeps the place of its last listing.
  expect_model("release common" "A:common B:- C:release")
  expect_warnings(1 "\"[$][(]DELPHI[)][\\\\]Lib\" holds")
elseif(CASE STREQUAL "cfg")
  file(WRITE "${WORK}/proj/Shop.cfg"
       "-$A8\r\n-E\"..\\bin\"\r\n-N\"..\\dcu\"\r\n-U\"debug;lib\\Win64\"\r\n-U..\\common\r\n-NSSystem;Vcl\r\n")
  run_cmd(--model --options proj/Shop.cfg --basic X proj/Shop.dpr)
  expect_model("common Win64 debug" "A:common B:Win64 C:debug")
  expect_warnings(0 "")
elseif(CASE STREQUAL "lpi")
  file(WRITE "${WORK}/proj/Shop.lpi" [=[<?xml version="1.0" encoding="UTF-8"?>
<CONFIG>
  <ProjectOptions>
    <Version Value="12"/>
    <BuildModes>
      <Item Name="Release"><CompilerOptions><SearchPaths><OtherUnitFiles Value="release"/></SearchPaths></CompilerOptions></Item>
    </BuildModes>
  </ProjectOptions>
  <CompilerOptions>
    <Version Value="11"/>
    <SearchPaths>
      <OtherUnitFiles Value="debug;../common;lib/$(TargetCPU)-$(TargetOS)"/>
      <UnitOutputDirectory Value="lib/$(TargetCPU)-$(TargetOS)"/>
    </SearchPaths>
  </CompilerOptions>
</CONFIG>
]=])
  run_cmd(--model --options proj/Shop.lpi --basic X proj/Shop.dpr)
  expect_model("common debug" "A:common B:- C:debug")
  expect_warnings(1 "\"lib/[$][(]TargetCPU[)]-[$][(]TargetOS[)]\" holds [$][(]TargetCPU[)]")
elseif(CASE STREQUAL "malformed")
  # One message naming the file and what is wrong; the run goes on with the
  # locations it has.
  file(WRITE "${WORK}/proj/Cut.dproj" "<Project><PropertyGroup><DCC_UnitSearchPath>debug</DCC_Unit")
  run_cmd(--model --options proj/Cut.dproj --location common --basic X proj/Shop.dpr)
  expect_model("common" "A:common B:- C:-")
  expect_warnings(1 "Cut.dproj\": it is not well-formed XML")
  # A binary under an option file's name: the program itself.
  file(COPY_FILE "${CMD}" "${WORK}/proj/Bin.cfg")
  run_cmd(--model --options proj/Bin.cfg --basic X proj/Shop.dpr)
  expect_model("" "A:- B:- C:-")
  expect_warnings(1 "Bin.cfg\": it is (not a text file|larger than 8 MB)")
  run_cmd(--model --options proj/None.dproj --basic X proj/Shop.dpr)
  expect_model("" "A:- B:- C:-")
  expect_warnings(1 "None.dproj\": it does not exist")
elseif(CASE STREQUAL "refusals")
  foreach(args "--model;--platform;Win64;proj/Shop.dpr" "--model;--options;a.dproj;--config;A;--config;B;proj/Shop.dpr"
               "--uses;--options;a.dproj;proj/Shop.dpr" "--model;--options")
    run_cmd(${args})
    expect_rc(2)
    expect_one_line("${ERR}" "${args}")
  endforeach()
else()
  message(FATAL_ERROR "unknown case ${CASE}")
endif()

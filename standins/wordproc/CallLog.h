// The lines of the call log. One line per call, fields separated by TAB:
//
//   PATH  MEMBER  KIND  ARGUMENT...  OUTCOME
//
// PATH is how the object was reached ("WordBasic", "Application.Selection",
// "Document1.Range(3,9)"), MEMBER the member's name as the server spells it,
// KIND the call's flags as received: "method", "get", "method|get", "put" or
// "putref". Arguments come in the caller's order: "Name:=VALUE" for a named
// argument, "Name=VALUE" for a positional one (Name being the parameter it
// binds to), "VALUE" for the value of a property put. OUTCOME is "-> VALUE"
// for a result, "!! MESSAGE" for a failure, and absent otherwise.
//
// VALUE is TYPE:TEXT: i2:6, i4:6, r4:11.9, r8:11.9, bool:-1, str:"text",
// obj:PATH (one of ours) or obj:? (another object) or obj:nothing, missing
// (an omitted optional argument), empty, null, error:0x80020004, vt:N for
// any other type; a leading & marks an argument passed by reference. In
// str:"...", \ " CR LF TAB are written \\ \" \r \n \t and other bytes below
// 32 as \xHH. The log is code page 1252 text with LF line ends.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <string>

std::string DescribeValue(const VARIANT& value);
std::string EscapeLogText(const std::string& text);
std::string DescribeFlags(WORD flags);

// The console program's commands over one source file.
#pragma once

#include <string>
#include <vector>

// --tokens FILE: the analyser's token stream, CODE<TAB>TEXT per token, the
// last line being tkEnd ("1<TAB>").
int CmdTokens(const std::vector<std::string>& args);
// --uses FILE: "unit" or "program", then one line per uses entry in source
// order: interface|implementation<TAB>NAME<TAB>PATH.
int CmdUses(const std::vector<std::string>& args);

// The console program's commands over one source file.
#pragma once

#include <string>

#include "CmdOptions.h"

// --tokens FILE: the analyser's token stream, CODE<TAB>TEXT per token, the
// last line being tkEnd ("1<TAB>").
TExitCode RunTokens(const std::string& file);
// --uses FILE: "unit" or "program", then one line per uses entry in source
// order: interface|implementation<TAB>NAME<TAB>PATH.
TExitCode RunUses(const std::string& file);

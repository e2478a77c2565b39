// --model: the analysis of a project or unit and the resulting model.
#pragma once

#include <string>
#include <vector>

// --model [--location DIR]... [--basic-location DIR]... [--inactive-location DIR]...
//         [--basic NAME]... FILE
// Prints one line per location, then one per unit of the sorted array.
// Exit codes: 0 done, 2 bad command line or unreadable unit, 3 FILE missing.
int CmdModel(const std::vector<std::string>& args);

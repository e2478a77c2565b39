// The console program's diagram outputs. Each runner takes the arguments
// that follow its option; all of them accept the others too, so several
// outputs come from one analysis.
#pragma once

#include <string>
#include <vector>

// Options: --layout, --emf OUT.emf, --png OUT.png [--width N], --hide NAME
// (a label hidden as by a click; the box by its title), and the analysis
// options (CmdAnalysis.h) with the project FILE.
int CmdDiagram(const std::vector<std::string>& args);
int CmdLayout(const std::vector<std::string>& args);
int CmdEmf(const std::vector<std::string>& args);
int CmdPng(const std::vector<std::string>& args);

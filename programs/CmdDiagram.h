// The console program's diagram outputs: layout figures, metafile, PNG,
// SVG and the graph exports, all from one analysis.
#pragma once

#include "CmdOptions.h"

TExitCode RunDiagram(const TCmdRequest& request);

// Without a registry every colour would be black: locations get a palette
// of their own, the current directory blue.
void UsePalette();

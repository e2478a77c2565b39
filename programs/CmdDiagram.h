// The console program's diagram outputs: layout figures, metafile and PNG,
// all from one analysis.
#pragma once

#include "CmdOptions.h"

TExitCode RunDiagram(const TCmdRequest& request);

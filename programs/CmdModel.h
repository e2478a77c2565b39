// --model: the analysis of a project or unit and the resulting model.
#pragma once

#include "CmdOptions.h"

// One line per location, then one per unit of the sorted array.
TExitCode RunModel(const TCmdRequest& request);

// --cycles: the components of units that use each other, the compiler's
// errors (interface uses alone) first.
#pragma once

#include "CmdOptions.h"

struct TCycleReport;

TExitCode RunCycles(const TCmdRequest& request);
// One line per component and one per cycle.
void PrintCycles(const TCycleReport& report);

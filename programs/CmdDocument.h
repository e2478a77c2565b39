// The console program's --document: the Word document of the project,
// generated through the same driver as the main window's Ctrl+G.
#pragma once

#include "CmdOptions.h"

TExitCode RunDocument(const TCmdRequest& request);

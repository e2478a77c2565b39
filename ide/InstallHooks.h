// The whole tool's composition: the programs that hold every room (the
// expert library, Usagram.exe) give the windows the bug report and the
// entries outside the product's key before they create them.
#pragma once

void InstallWindowHooks();

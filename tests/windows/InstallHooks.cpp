// The window tests run the main window as the programs do: with the bug
// report and the entries outside the product's key installed, before any
// test creates a window.
#include "InstallHooks.h"

namespace {
[[maybe_unused]] const bool Installed = (InstallWindowHooks(), true);
}  // namespace

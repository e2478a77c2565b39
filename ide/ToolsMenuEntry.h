// The main window's entries outside the product's own key: the program in
// the Tools menus of Delphi 1.0, 2.0 and 3.0, and its restart at the next
// logon with the project it had open.
#pragma once

#include <string>

// Offers each installed Delphi, in the order 1.0, 2.0, 3.0, an entry "Usagram
// on current file" that starts this program on the file being edited, and
// adds it after the last entry where the user answers Yes. Asks nothing when
// no Delphi is installed. A write the system refuses raises ERegistryError
// (the registry) or std::runtime_error (Delphi.INI).
void InstallAsDelphiTool();

// Records this program with the project in the machine's Run key, for the
// logon after the session ends: the program's full path, one space and the
// project, each quoted when it holds a space (so that the restarted program
// gets the project as one parameter). False when the key cannot be written.
bool RememberForRestart(const std::string& project);

// Removes that record (nothing happens when it is absent or cannot be).
void ForgetRestart();

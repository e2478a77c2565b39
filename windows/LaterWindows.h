// Entry points of the windows the main window opens. Each is defined with
// its window; those that this version does not have yet say so when they
// are asked for.
#pragma once

#include <string>

class TFile;

// Modal editors; true when closed with OK (the project is analysed again).
bool ExecuteBasicUnitsEditor();
bool ExecuteLocationsEditor();
bool ExecuteScopeNamesEditor();
// The four simplification options, modal.
void ExecuteSimplification();
// The files of the locations, used and unused; the note explains the list
// when it is offered after an analysis.
void ShowFilesList(bool withNote);
// The files list offered after an analysis that left unused files.
void OfferFilesList();
// The directory selection window: true when the user chose OK.
bool ExecuteDirectoryWindow(const std::string& caption, std::string& directory);
void ShowAbout();
// The welcome window. closing: the main window asked to close and the
// welcome window closes it in its turn.
void ShowWelcome(bool closing);
// The inspection and editor windows of a found unit.
void InspectUnit(TFile& unit);
void EditUnit(TFile& unit);
// Ctrl+G in a program that has no Word driver installed (Usagram.exe
// installs one; the window alone, as its tests build it, has none).
void ReportNoDocumentGenerator();

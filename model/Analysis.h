// The analysis run: from a project (or unit) file to the complete sorted
// model, and the library's start and end.
#pragma once

#include <string>

// A run is in progress (the main window refuses a second one).
extern bool Analysing;

// Project files: a program (".DPR", Free Pascal's ".LPR") or a package
// (".DPK"), in any letter case.
bool IsProjectExtension(const std::string& extension);
// Rebuilds the model for the project name (without extension), searched in
// the locations with the current directory first: a project file under its
// own extension (IsProjectExtension), anything else as a unit (".PAS"). A
// restart (a further pass of the same run) does not warn again about
// entries it has to drop.
void AnalyseProject(const std::string& name, const std::string& extension, bool restart = false);
// Branch order of FileArray and of every unit's lists.
void SortBranches();
// After AnalyseProjectFile has thrown (a file that cannot be opened or read):
// the model as far as it was read, with the unit whose file failed as a unit
// not found, given its levels and sorted, so that a window can draw it,
// hover it and redraw it. The console reports the raw partial model instead.
void SalvageInterruptedRun();
// Frees FileArray (and every unit) and UBase.
void ReleaseModel();

// How a run went with the project file itself.
enum class TProjectOutcome {
  Analysed,     // the file was found and analysed
  NotFound,     // no such file: the model is its unresolved root
  PathTooLong,  // its full path is beyond what the file functions take: the same
};

// The run without its window: makes the file's directory current, analyses
// (restarting once when IN paths added locations) and sorts. File-layer
// errors propagate; the model stays as far as it was read, sorted, with the
// unit whose file failed as a unit not found, until the next run. A project
// that cannot be analysed is reported through Warning (ProjectProblemText
// gives the same text) and leaves its unresolved root as the model.
TProjectOutcome AnalyseProjectFile(const std::string& path);
// Entries the last run had to drop for want of room, as the status bar or the
// console reports them after the one warning; empty when there were none.
std::string DroppedEntriesText();
// What the user is told about the outcome; empty for Analysed.
std::string ProjectProblemText(TProjectOutcome outcome, const std::string& path);

// Library start and end: the global settings are read once and written once
// (the model is released first). Safe to call outside DllMain; repeated
// calls do nothing.
void UsagramInitialise();
void UsagramFinalise();

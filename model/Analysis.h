// The analysis run: from a project (or unit) file to the complete sorted
// model, and the library's start and end.
#pragma once

#include <string>

// A run is in progress (the main window refuses a second one).
extern bool Analysing;

// Rebuilds the model for the project name (without extension), searched in
// the locations with the current directory first.
void AnalyseProject(const std::string& name);
// Branch order of FileArray and of every unit's lists.
void SortBranches();
// Frees FileArray (and every unit) and UBase.
void ReleaseModel();

// The run without its window: makes the file's directory current, analyses
// (restarting once when IN paths added locations) and sorts. File-layer
// errors propagate; the partial model stays until the next run.
void AnalyseProjectFile(const std::string& path);

// Library start and end: the global settings are read once and written once
// (the model is released first). Safe to call outside DllMain; repeated
// calls do nothing.
void UsagramInitialise();
void UsagramFinalise();

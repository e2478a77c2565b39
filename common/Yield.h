// "Let the message loop run once" and the status bar texts. Long work (the
// analysis, the composition) calls these; the windowed programs wire them to
// the message pump and the main window's status bar, a console run leaves
// them empty or prints them.
#pragma once

#include <string>

using TYieldHook = void (*)();
using TStatusHook = void (*)(const std::string& text);

// Runs the installed hook (nothing by default).
void ProcessMessages();
TYieldHook SetProcessMessagesHook(TYieldHook hook);
// Called by long work at every small step (the analysis: once per token).
// The message loop runs when it has not run for YieldInterval: often enough
// for the window to stay responsive, without paying a full pass of the loop
// millions of times.
void YieldWhileWorking();
inline constexpr int YieldIntervalMs = 15;
// How many steps have called YieldWhileWorking so far.
unsigned long long WorkSteps();

// Status panel 0 (phase and progress) and panel 1 (a unit's name); each then
// lets the message loop run once.
void SetStatus(const std::string& text);
void SetStatusUnit(const std::string& text);
// Installs the sinks of SetStatus and SetStatusUnit (nullptr: ignore the text).
void SetStatusHooks(TStatusHook status, TStatusHook unit);

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

// Status panel 0 (phase and progress) and panel 1 (a unit's name); each then
// lets the message loop run once.
void SetStatus(const std::string& text);
void SetStatusUnit(const std::string& text);
// Installs the sinks of SetStatus and SetStatusUnit (nullptr: ignore the text).
void SetStatusHooks(TStatusHook status, TStatusHook unit);

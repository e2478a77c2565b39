// Message routines. Expected conditions of the analysis and of the lists are
// reported through the active presenter: message boxes in the windowed
// programs, standard error in a console run, a recorder in tests. Nothing
// else in the code knows which presenter is active.
#pragma once

#include <string>

class TMessagePresenter {
 public:
  virtual ~TMessagePresenter() = default;
  // Beep, then a warning box captioned "Usagram" with an OK button.
  virtual void ShowWarning(const std::string& text) = 0;
  // The text with OK and Cancel; true when the user answered OK.
  virtual bool ShowWarnOrStop(const std::string& text) = 0;
  // Beep and "Fatal error: " + text. The caller ends the process afterwards,
  // unless the presenter leaves by an exception (tests do).
  virtual void ShowFatalError(const std::string& text) = 0;
};

// Installs a presenter (nullptr restores the default, which writes to stderr).
// Returns the previous one.
TMessagePresenter* SetMessagePresenter(TMessagePresenter* presenter);
TMessagePresenter& MessagePresenter();

// The exit code of a process that FatalError or WarnOrStop ended.
inline constexpr int StopExitCode = 1;

// Beep, then "Fatal error: " + text; the process ends with StopExitCode.
[[noreturn]] void FatalError(const std::string& text);
// The text with OK and Cancel; Cancel ends the process with StopExitCode.
void WarnOrStop(const std::string& text);
// Runs just before FatalError or WarnOrStop end the process (the library
// saves the user's settings there); nullptr: nothing. Returns the previous one.
using TBeforeStopHook = void (*)();
TBeforeStopHook SetBeforeStopHook(TBeforeStopHook hook);
// Beep, then a warning box (caption "Usagram", OK only).
void Warning(const std::string& text);

// Caption of the boxes of FatalError and WarnOrStop.
inline constexpr const char* RidararCaption = "Unit Ridarar by Pelvarin";

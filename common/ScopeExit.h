// Runs a clean-up when the scope ends, however it ends: for the steps that
// must follow a piece of work even when it throws (the end of an analysis,
// a cursor put back).
#pragma once

#include <utility>

template <class TAction>
class TScopeExit {
 public:
  explicit TScopeExit(TAction action) : Action(std::move(action)) {}
  ~TScopeExit() {
    if (Armed) Action();
  }
  TScopeExit(const TScopeExit&) = delete;
  TScopeExit& operator=(const TScopeExit&) = delete;
  // The clean-up will not run.
  void Dismiss() { Armed = false; }

 private:
  TAction Action;
  bool Armed = true;
};

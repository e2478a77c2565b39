// Runs a clean-up when the scope ends, however it ends: for the steps that
// must follow a piece of work even when it throws (the end of an analysis,
// a cursor put back).
#pragma once

#include <utility>

template <class TAction>
class TScopeExit {
 public:
  explicit TScopeExit(TAction action) : action_(std::move(action)) {}
  ~TScopeExit() {
    if (armed_) action_();
  }
  TScopeExit(const TScopeExit&) = delete;
  TScopeExit& operator=(const TScopeExit&) = delete;
  // The clean-up will not run.
  void Dismiss() { armed_ = false; }

 private:
  TAction action_;
  bool armed_ = true;
};

#include "Ridarar.h"

#include <cstdio>
#include <cstdlib>

namespace {

// Console presenter: the default, and what UsagramCmd uses.
class TStderrPresenter final : public TMessagePresenter {
 public:
  void ShowWarning(const std::string& text) override { std::fprintf(stderr, "warning: %s\n", text.c_str()); }
  bool ShowWarnOrStop(const std::string& text) override {
    std::fprintf(stderr, "warning: %s\n", text.c_str());
    return true;  // a console run goes on as OK would
  }
  void ShowFatalError(const std::string& text) override { std::fprintf(stderr, "Fatal error: %s\n", text.c_str()); }
};

TStderrPresenter StderrPresenter;
TMessagePresenter* Presenter = &StderrPresenter;
TBeforeStopHook BeforeStop = nullptr;

[[noreturn]] void Stop() {
  // Once only, and nothing of it may keep the process from ending.
  if (TBeforeStopHook hook = BeforeStop) {
    BeforeStop = nullptr;
    try {
      hook();
    } catch (...) {
    }
  }
  std::fflush(nullptr);
  std::exit(StopExitCode);
}

}  // namespace

TMessagePresenter* SetMessagePresenter(TMessagePresenter* presenter) {
  TMessagePresenter* previous = Presenter;
  Presenter = presenter ? presenter : &StderrPresenter;
  return previous;
}

TMessagePresenter& MessagePresenter() { return *Presenter; }

TBeforeStopHook SetBeforeStopHook(TBeforeStopHook hook) {
  TBeforeStopHook previous = BeforeStop;
  BeforeStop = hook;
  return previous;
}

void FatalError(const std::string& text) {
  Presenter->ShowFatalError(text);
  Stop();
}

void WarnOrStop(const std::string& text) {
  if (!Presenter->ShowWarnOrStop(text)) Stop();
}

void Warning(const std::string& text) { Presenter->ShowWarning(text); }

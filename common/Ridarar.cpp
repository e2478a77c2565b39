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

}  // namespace

TMessagePresenter* SetMessagePresenter(TMessagePresenter* presenter) {
  TMessagePresenter* previous = Presenter;
  Presenter = presenter ? presenter : &StderrPresenter;
  return previous;
}

TMessagePresenter& MessagePresenter() { return *Presenter; }

void FatalError(const std::string& text) {
  Presenter->ShowFatalError(text);
  std::fflush(nullptr);
  std::exit(1);
}

void WarnOrStop(const std::string& text) {
  if (!Presenter->ShowWarnOrStop(text)) {
    std::fflush(nullptr);
    std::exit(1);
  }
}

void Warning(const std::string& text) { Presenter->ShowWarning(text); }

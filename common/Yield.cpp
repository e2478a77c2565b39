#include "Yield.h"

#include <chrono>

namespace {
using TClock = std::chrono::steady_clock;
TYieldHook YieldHook = nullptr;
TClock::time_point LastPass;
unsigned StepsSinceCheck = 0;
unsigned long long Steps = 0;
TStatusHook StatusHook = nullptr;
TStatusHook StatusUnitHook = nullptr;
}  // namespace

void ProcessMessages() {
  if (!YieldHook) return;
  LastPass = TClock::now();
  YieldHook();
}

unsigned long long WorkSteps() { return Steps; }

void YieldWhileWorking() {
  ++Steps;
  if (!YieldHook) return;
  // Reading the clock costs more than a step; look at it every 64 steps.
  if (++StepsSinceCheck < 64) return;
  StepsSinceCheck = 0;
  if (TClock::now() - LastPass >= std::chrono::milliseconds(YieldIntervalMs)) ProcessMessages();
}

TYieldHook SetProcessMessagesHook(TYieldHook hook) {
  TYieldHook previous = YieldHook;
  YieldHook = hook;
  return previous;
}

void SetStatus(const std::string& text) {
  if (StatusHook) StatusHook(text);
  ProcessMessages();
}

void SetStatusUnit(const std::string& text) {
  if (StatusUnitHook) StatusUnitHook(text);
  ProcessMessages();
}

void SetStatusHooks(TStatusHook status, TStatusHook unit) {
  StatusHook = status;
  StatusUnitHook = unit;
}

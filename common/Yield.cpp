#include "Yield.h"

namespace {
TYieldHook YieldHook = nullptr;
TStatusHook StatusHook = nullptr;
TStatusHook StatusUnitHook = nullptr;
}  // namespace

void ProcessMessages() {
  if (YieldHook) YieldHook();
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

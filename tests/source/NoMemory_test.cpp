// Allocation failure when the analyser is created. This program replaces the
// global operator new so that one allocation can be made to fail on demand.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

#include "Messages.h"
#include "PASCAL.h"
#include "Ridarar.h"
#include "TempFiles.h"

namespace {
bool FailNextAllocation = false;
}

void* operator new(std::size_t size) {
  if (FailNextAllocation) {
    FailNextAllocation = false;
    throw std::bad_alloc();
  }
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {
struct TRecorder : TMessagePresenter {
  std::vector<std::string> Seen;
  void ShowWarning(const std::string& t) override { Seen.push_back("W:" + t); }
  bool ShowWarnOrStop(const std::string& t) override {
    Seen.push_back("S:" + t);
    return true;  // OK
  }
  void ShowFatalError(const std::string& t) override { Seen.push_back("F:" + t); }
};
}  // namespace

TEST(ScanUses, NoMemoryForTheAnalyserWarnsAndEndsWithoutEntries) {
  TTempDir dir;
  const std::string name = dir.Write("u.pas", "unit U; interface uses X; implementation uses Y; end.");
  TRecorder recorder;
  TMessagePresenter* previous = SetMessagePresenter(&recorder);
  int entries = 0;
  const TUsesHandler handler = [&](TUsesClause, const std::string&, const std::string&) { ++entries; };
  FailNextAllocation = true;  // the analyser is the scan's first allocation
  const bool isUnit = ScanUses(name, handler);
  FailNextAllocation = false;
  SetMessagePresenter(previous);
  EXPECT_FALSE(isUnit);
  EXPECT_EQ(entries, 0);
  EXPECT_EQ(recorder.Seen, std::vector<std::string>{std::string("S:") + Msg::NoAnalyserMemory});
  // And with memory the same file reads normally.
  EXPECT_TRUE(ScanUses(name, handler));
  EXPECT_EQ(entries, 2);
}

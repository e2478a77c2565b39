#include <gtest/gtest.h>

#include "Ridarar.h"
#include "Yield.h"

#include <chrono>

namespace {
struct TRecorder : TMessagePresenter {
  std::vector<std::string> seen;
  bool answer = true;
  void ShowWarning(const std::string& t) override { seen.push_back("W:" + t); }
  bool ShowWarnOrStop(const std::string& t) override {
    seen.push_back("S:" + t);
    return answer;
  }
  void ShowFatalError(const std::string& t) override { seen.push_back("F:" + t); }
};
}  // namespace

TEST(Ridarar, RoutinesGoThroughTheInstalledPresenter) {
  TRecorder recorder;
  TMessagePresenter* previous = SetMessagePresenter(&recorder);
  Warning("w");
  WarnOrStop("s");
  EXPECT_EQ(recorder.seen, (std::vector<std::string>{"W:w", "S:s"}));
  EXPECT_EQ(&MessagePresenter(), &recorder);
  SetMessagePresenter(previous);
  EXPECT_NE(&MessagePresenter(), &recorder);
}

TEST(RidararDeathTest, CancelAndFatalErrorEndTheProcessWithCode1) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        TRecorder r;
        r.answer = false;
        SetMessagePresenter(&r);
        WarnOrStop("stop");
      },
      testing::ExitedWithCode(1), "");
  EXPECT_EXIT(FatalError("boom"), testing::ExitedWithCode(1), "Fatal error: boom");
}

namespace {
int yields = 0;
std::string lastStatus, lastUnit;
}  // namespace

TEST(Yield, StatusTextsReachTheirSinksAndYieldOnce) {
  SetProcessMessagesHook([] { ++yields; });
  SetStatusHooks([](const std::string& t) { lastStatus = t; }, [](const std::string& t) { lastUnit = t; });
  SetStatus("Ready");
  SetStatusUnit("Forms");
  EXPECT_EQ(lastStatus, "Ready");
  EXPECT_EQ(lastUnit, "Forms");
  EXPECT_EQ(yields, 2);
  SetStatusHooks(nullptr, nullptr);
  SetProcessMessagesHook(nullptr);
  SetStatus("x");
  EXPECT_EQ(yields, 2);
}

namespace {
int passes = 0;
}  // namespace

TEST(Yield, WorkYieldsOnlyWhenTheLoopHasWaitedLongEnough) {
  SetProcessMessagesHook([] { ++passes; });
  ProcessMessages();  // the loop has just run
  passes = 0;
  for (int i = 0; i < 640; ++i) YieldWhileWorking();
  // Ten clock checks within far less than the interval: at most one pass.
  EXPECT_LE(passes, 1);
  const auto start = std::chrono::steady_clock::now();
  while (std::chrono::steady_clock::now() - start < std::chrono::milliseconds(YieldIntervalMs + 5)) {
  }
  passes = 0;
  for (int i = 0; i < 64; ++i) YieldWhileWorking();
  EXPECT_EQ(passes, 1);
  SetProcessMessagesHook(nullptr);
  for (int i = 0; i < 1000; ++i) YieldWhileWorking();
  EXPECT_EQ(passes, 1);
}

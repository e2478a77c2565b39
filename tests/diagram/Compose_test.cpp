#include <gtest/gtest.h>

#include <stdexcept>

#include "DiagramTestUtil.h"
#include "GdiGuard.h"
#include "Messages.h"
#include "Yield.h"

namespace diagtest {
namespace {

std::vector<std::string> Statuses;
void RecordStatus(const std::string& text) { Statuses.push_back(text); }

struct TThrowingGenerator : TDocumentGenerator {
  bool Start() override { return true; }
  void NewDocument() override {}
  void AddUnit(const std::string&, const std::string&, const std::string&) override {
    throw std::runtime_error("Word went away");
  }
  void Finish() override {}
};

class ComposeTest : public DiagramTest {
 protected:
  void SetUp() override {
    DiagramTest::SetUp();
    Statuses.clear();
    SetStatusHooks(RecordStatus, nullptr);
    TFile* a = Add("Alpha", 0);
    TFile* p = Add("Project", 0);
    Uses(p, {a});
  }
  void TearDown() override {
    SetStatusHooks(nullptr, nullptr);
    DiagramTest::TearDown();
  }
};

TEST_F(ComposeTest, HostIsToldInOrder) {
  TRecordingHost host;
  TMetafile m;
  EXPECT_TRUE(ComposeDiagram(host, m));
  EXPECT_EQ(host.Calls, (std::vector<std::string>{"menus off", "hourglass", "stop timer", "show", "invalidate",
                                                  "start timer", "arrow", "menus on"}));
  EXPECT_EQ(host.Shown, 1);
  EXPECT_FALSE(Composing);
  ASSERT_FALSE(Statuses.empty());
  EXPECT_EQ(Statuses.front(), Msg::StatusComposing);
  EXPECT_EQ(Statuses.back(), Msg::StatusReady);
}

TEST_F(ComposeTest, NoComposingStatusWhileGeneratingADocument) {
  TRecordingHost host;
  TMetafile m;
  GeneratingDocument = true;
  ComposeDiagram(host, m);
  GeneratingDocument = false;
  for (const std::string& s : Statuses) EXPECT_NE(s, Msg::StatusComposing);
  EXPECT_EQ(Statuses.back(), Msg::StatusReady);
}

TEST_F(ComposeTest, SecondRequestDuringACompositionReturnsAtOnce) {
  TRecordingHost host;
  TMetafile m;
  Composing = true;
  EXPECT_FALSE(ComposeDiagram(host, m));
  Composing = false;
  EXPECT_TRUE(host.Calls.empty());
  EXPECT_TRUE(m.Empty());
  EXPECT_TRUE(Statuses.empty());
}

TEST_F(ComposeTest, MetafileIsAValidEnhancedMetafileOfTheLayoutSize) {
  TMetafile m = Compose();
  ASSERT_FALSE(m.Empty());
  RECT r = LayoutSpace;
  ComputeLayout(*FileArray, r);
  EXPECT_EQ(m.Width, r.right);
  EXPECT_EQ(m.Height, r.bottom);
  ENHMETAHEADER header{};
  ASSERT_EQ(GetEnhMetaFileHeader(m.Handle(), sizeof header, &header), sizeof header);
  EXPECT_EQ(header.iType, static_cast<DWORD>(EMR_HEADER));
  EXPECT_EQ(header.dSignature, static_cast<DWORD>(ENHMETA_SIGNATURE));
  TWindowDC screen;
  const RECT frame = FrameForPixels(screen, m.Width, m.Height);
  EXPECT_EQ(header.rclFrame.left, 0);
  EXPECT_EQ(header.rclFrame.right, frame.right);
  EXPECT_EQ(header.rclFrame.bottom, frame.bottom);
  EXPECT_EQ(header.nRecords, ReadRecords(m.Handle()).size());
  EXPECT_GT(header.nRecords, 20u);
  // Everything drawn lies on the diagram.
  EXPECT_GE(header.rclBounds.left, 0);
  EXPECT_GE(header.rclBounds.top, 0);
  EXPECT_LE(header.rclBounds.right, m.Width);
  EXPECT_LE(header.rclBounds.bottom, m.Height);
  // One diagram unit is one pixel of the screen: the frame is the size in .01 mm.
  EXPECT_EQ(frame.right, MulDiv(m.Width, GetDeviceCaps(screen, HORZSIZE) * 100, GetDeviceCaps(screen, HORZRES)));
}

TEST_F(ComposeTest, FailureStillCompletesAndShowsTheMetafileAndResetsTheWindow) {
  TThrowingGenerator generator;
  DocumentGenerator = &generator;
  GeneratingDocument = true;
  TRecordingHost host;
  TMetafile m;
  EXPECT_THROW(ComposeDiagram(host, m), std::runtime_error);
  GeneratingDocument = false;
  EXPECT_FALSE(Composing);
  EXPECT_FALSE(m.Empty());
  EXPECT_EQ(host.Shown, 1);
  EXPECT_EQ(host.Calls.back(), "menus on");
  EXPECT_EQ(Statuses.back(), Msg::StatusReady);
  // The next composition runs normally.
  DocumentGenerator = nullptr;
  EXPECT_TRUE(ComposeDiagram(host, m));
}

TEST_F(ComposeTest, StatusPanelOneShowsEachLabelThenIsCleared) {
  static std::vector<std::string> units;
  units.clear();
  SetStatusHooks(RecordStatus, [](const std::string& t) { units.push_back(t); });
  Compose();
  EXPECT_EQ(units, (std::vector<std::string>{"Alpha", "Project", ""}));
}

TEST_F(ComposeTest, MetafileCanBeSavedAndReadBack) {
  TMetafile m = Compose();
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string path = std::string(temp) + "diagram_test_save.emf";
  DeleteFileA(path.c_str());
  ASSERT_TRUE(m.SaveToFile(path));
  HENHMETAFILE read = GetEnhMetaFileA(path.c_str());
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(ReadRecords(read).size(), ReadRecords(m.Handle()).size());
  DeleteEnhMetaFile(read);
  DeleteFileA(path.c_str());
  EXPECT_FALSE(m.SaveToFile(std::string(temp) + "no\\such\\dir\\x.emf"));
  EXPECT_FALSE(TMetafile().SaveToFile(path));
}

}  // namespace
}  // namespace diagtest

// The cycles window and the main window's two graph commands, driven
// through the menus and the tree as a user drives them.
#include <gtest/gtest.h>

#include "Cycles.h"
#include "HostPath.h"
#include "WindowsTestSupport.h"
#include "ufCycles.h"

namespace {

const std::string Samples = HostPath(USAGRAM_SAMPLES);
const std::string ShopProject = Samples + "\\Cycles\\Shop.dpr";
const std::string PlainProject = Samples + "\\Plain\\Plain.dpr";

struct TNodeText {
  std::string Text;
  std::vector<TNodeText> Children;
  bool operator==(const TNodeText&) const = default;
};

std::vector<TNodeText> Tree(const TTreeView& tree, TTreeNode parent) {
  std::vector<TNodeText> nodes;
  for (TTreeNode n = tree.FirstChild(parent); n; n = tree.NextSibling(n)) nodes.push_back({tree.NodeText(n), Tree(tree, n)});
  return nodes;
}

// The node of that text, anywhere below parent (depth first), or nullptr.
TTreeNode Find(const TTreeView& tree, TTreeNode parent, const std::string& text) {
  for (TTreeNode n = tree.FirstChild(parent); n; n = tree.NextSibling(n)) {
    if (tree.NodeText(n) == text) return n;
    if (TTreeNode below = Find(tree, n, text)) return below;
  }
  return nullptr;
}

COLORREF PixelOfImage(POINT at) {
  TWindowDC dc(fUsagram->Image.Handle());
  return GetPixel(dc, at.x, at.y);
}

class CyclesWindow_ : public ToolWindowsTest {};

}  // namespace

TEST_F(CyclesWindow_, TheCommandsWaitForAnAnalysisAndTheStatusBarCountsTheUnitsInCycles) {
  EXPECT_FALSE(fUsagram->Cycles1->Enabled());
  EXPECT_FALSE(fUsagram->Exportergraphe1->Enabled());
  EXPECT_EQ(fUsagram->Cycles1->Caption(), "&Cycles...");
  EXPECT_EQ(fUsagram->Exportergraphe1->Caption(), "&Export graph...");
  Open(ShopProject);
  EXPECT_TRUE(fUsagram->Cycles1->Enabled());
  EXPECT_TRUE(fUsagram->Exportergraphe1->Enabled());
  EXPECT_EQ(fUsagram->StatusBar.PanelText(0), "Ready");
  EXPECT_EQ(fUsagram->StatusBar.PanelText(1), "5 units in cycles (2 in errors)");
  Open(PlainProject);
  EXPECT_EQ(fUsagram->StatusBar.PanelText(1), "no unit in a cycle");
  EXPECT_TRUE(Errors.empty());
}

TEST_F(CyclesWindow_, TheTreeListsTheErrorsFirstThenEveryComponentWithItsUnits) {
  Open(ShopProject);
  std::vector<TNodeText> tree;
  std::string summary;
  EXPECT_EQ(Modal(CyclesWindow(), [] { fUsagram->Cycles1Click(); },
                  [&] {
                    tree = Tree(fCycles->TreeView, nullptr);
                    summary = fCycles->Summary.Text();
                    TModalAnswer::PostButton(fCycles->Handle(), IDOK);
                  }),
            1);
  const TNodeText refused{"2 units: Colours -> Shapes -> Colours", {{"Colours", {}}, {"Shapes", {}}}};
  const std::vector<TNodeText> expected = {
      {"Circular unit references (the compiler refuses them)", {refused}},
      {"Units that use each other",
       {{"3 units: Invoices -> Orders -> Customers -> Invoices", {{"Invoices", {}}, {"Customers", {}}, {"Orders", {}}}},
        refused}}};
  EXPECT_EQ(tree, expected);
  EXPECT_EQ(summary, "5 units in cycles; 2 units in circular unit references.");

  // A project without cycles says so, with nothing to choose.
  Open(PlainProject);
  EXPECT_EQ(Modal(CyclesWindow(), [] { fUsagram->Cycles1Click(); },
                  [&] {
                    tree = Tree(fCycles->TreeView, nullptr);
                    TModalAnswer::PostButton(fCycles->Handle(), IDOK);
                  }),
            1);
  ASSERT_EQ(tree.size(), 1u);
  EXPECT_EQ(tree[0].Text, "No unit uses itself, directly or through others");
  EXPECT_TRUE(Errors.empty());
}

TEST_F(CyclesWindow_, ChoosingAUnitFlashesItsLabelAndLeavesItShownWhenTheWindowCloses) {
  Open(ShopProject);
  TFile* shapes = UnitNamed("Shapes");
  ASSERT_NE(shapes, nullptr);
  RECT client{};
  GetClientRect(fUsagram->Image.Handle(), &client);
  const RECT label = LabelInImage(*shapes, fUsagram->Metafile.Width, fUsagram->Metafile.Height, client.right, client.bottom);
  // Inside the label, clear of its text and its bar: the white of the label.
  const POINT inside{label.left + 3, label.top + 3};
  const COLORREF before = PixelOfImage(inside);
  COLORREF during = before;
  TFile* chosen = nullptr;
  bool headerIsNoUnit = true;
  EXPECT_EQ(Modal(CyclesWindow(), [] { fUsagram->Cycles1Click(); },
                  [&] {
                    TTreeView& tree = fCycles->TreeView;
                    headerIsNoUnit = fCycles->UnitOf(tree.FirstChild(nullptr)) == nullptr;
                    const TTreeNode node = Find(tree, nullptr, "Shapes");
                    tree.SetSelected(node);
                    chosen = fCycles->UnitOf(node);
                    during = PixelOfImage(inside);
                    TModalAnswer::PostButton(fCycles->Handle(), IDOK);
                  }),
            1);
  EXPECT_TRUE(headerIsNoUnit);
  EXPECT_EQ(chosen, shapes);
  EXPECT_EQ(during, before ^ 0xFFFFFF) << "the label is inverted at once";
  Application.ProcessMessages();
  EXPECT_EQ(PixelOfImage(inside), before) << "and painted again once the window is closed";
  EXPECT_TRUE(Errors.empty());
}

TEST(CyclesTexts, LabelsScaleWithTheImage) {
  TFile* unit = TFile::Unresolved("U");
  unit->LabelRect = RECT{100, 200, 300, 400};
  const RECT half = LabelInImage(*unit, 1000, 1000, 500, 250);
  EXPECT_EQ(half.left, 50);
  EXPECT_EQ(half.top, 50);
  EXPECT_EQ(half.right, 150);
  EXPECT_EQ(half.bottom, 100);
  const RECT none = LabelInImage(*unit, 0, 0, 500, 250);
  EXPECT_TRUE(IsRectEmpty(&none));
  delete unit;
}

TEST_F(CyclesWindow_, ExportGraphWritesTheFormatTheNameAsksFor) {
  TTempDirectory out("export-graph");
  Open(ShopProject);
  auto exportAs = [&](const std::string& name) {
    TModalAnswer answer(
        [&](HWND dialog) {
          HWND edit = GetDlgItem(dialog, 0x47C);  // cmb13
          if (!edit) edit = GetDlgItem(dialog, 0x480);  // edt1
          SetWindowTextA(edit, (out / name).c_str());
          TModalAnswer::PostButton(dialog, IDOK);
        },
        "#32770");
    fUsagram->Exportergraphe1Click();
    Application.ProcessMessages();
    EXPECT_EQ(answer.Count(), 1) << name;
    return TTempDirectory::Read(out / name);
  };
  // The name's extension chooses, whatever filter the dialog shows.
  EXPECT_EQ(exportAs("g.dot").rfind("digraph \"Shop\" {", 0), 0u);
  EXPECT_EQ(exportAs("g.graphml").rfind("<?xml", 0), 0u);
  const std::string json = exportAs("g.json");
  EXPECT_NE(json.find("\"unitsInCycles\": 5"), std::string::npos) << json;
  EXPECT_EQ(exportAs("g.csv").rfind("from,to,clause\r\nInvoices,Orders,implementation\r\n", 0), 0u);
  EXPECT_TRUE(Errors.empty());
}

#include "ufCycles.h"

#include <algorithm>

#include "GdiGuard.h"
#include "Units.h"
#include "ufUsagram.h"

TfCycles* fCycles = nullptr;

namespace {
constexpr const char* ErrorsRoot = "Circular unit references (the compiler refuses them)";
constexpr const char* ComponentsRoot = "Units that use each other";
constexpr const char* NoCycle = "No unit uses itself, directly or through others";
// Inverted, drawn again, twice, then inverted until another unit is chosen
// or the window closes.
constexpr int FlashSteps = 5;
}  // namespace

std::string ComponentText(const TCycleComponent& component) {
  const size_t n = component.Units.size();
  return std::to_string(n) + (n == 1 ? " unit: " : " units: ") + CycleChain(component);
}

namespace {
int UnitsIn(const std::vector<TCycleComponent>& list) {
  int n = 0;
  for (const TCycleComponent& c : list) n += static_cast<int>(c.Units.size());
  return n;
}
std::string UnitsText(int n) { return std::to_string(n) + (n == 1 ? " unit" : " units"); }
}  // namespace

std::string CyclesSummary(const TCycleReport& report) {
  if (report.Empty()) return "No unit in a cycle.";
  std::string text = UnitsText(report.UnitsInCycles()) + " in cycles";
  if (!report.Errors.empty()) text += "; " + UnitsText(UnitsIn(report.Errors)) + " in circular unit references";
  return text + ".";
}

std::string CyclesNote(const TCycleReport& report) {
  if (report.Empty()) return "no unit in a cycle";
  std::string text = UnitsText(report.UnitsInCycles()) + " in cycles";
  if (!report.Errors.empty()) text += " (" + std::to_string(UnitsIn(report.Errors)) + " in errors)";
  return text;
}

RECT LabelInImage(const TFile& unit, int diagramWidth, int diagramHeight, int imageWidth, int imageHeight) {
  const RECT& r = unit.LabelRect;
  if (diagramWidth <= 0 || diagramHeight <= 0) return RECT{0, 0, 0, 0};
  return RECT{MulDiv(r.left, imageWidth, diagramWidth), MulDiv(r.top, imageHeight, diagramHeight),
              MulDiv(r.right, imageWidth, diagramWidth), MulDiv(r.bottom, imageHeight, diagramHeight)};
}

TfCycles::TfCycles() : TForm(TFormParams{.Caption = "Cycles", .Width = 420, .Height = 360, .Position = poDesigned}) {
  fCycles = this;
  CreateComponents();
  OnShow = [this] { TreeView.SetFocus(); };  // the keys walk the tree at once
  FlashTimer.OnTimer = [this] { FlashTimerTimer(); };
  FinishCreate();
}

TfCycles::~TfCycles() {
  OnShow = nullptr;
  FlashTimer.OnTimer = nullptr;
  TreeView.OnChange = nullptr;
  DestroyHandle();
  if (fCycles == this) fCycles = nullptr;
}

void TfCycles::CreateComponents() {
  const int width = ClientWidth();
  Panel1.Create(*this, {0, ClientHeight() - 41, width, 41});
  Panel1.SetAlign(alBottom);
  Panel1.SetBevelOuter(bvNone);
  Summary.Create(Panel1, {8, 12, width - 104, 20}, "");
  BitBtn1.Default = true;
  BitBtn1.Cancel = true;
  BitBtn1.ModalResult = mrOk;
  BitBtn1.Create(Panel1, {width - 83, 8, 75, 25}, "OK");
  TreeView.Create(*this, {0, 0, width, ClientHeight() - 41});
  TreeView.SetAlign(alClient);
  TreeView.OnChange = [this] { TreeViewChange(); };
}

void TfCycles::FillTree(const TCycleReport& report) {
  Units_.clear();
  flashing_ = nullptr;
  FlashTimer.SetEnabled(false);
  TreeView.Clear();
  Summary.SetText(CyclesSummary(report));
  if (report.Empty()) {
    TreeView.AddChild(nullptr, NoCycle);
    return;
  }
  auto list = [this](const char* title, const std::vector<TCycleComponent>& components) {
    if (components.empty()) return;
    const TTreeNode root = TreeView.AddChild(nullptr, title);
    for (const TCycleComponent& c : components) {
      const TTreeNode node = TreeView.AddChild(root, ComponentText(c));
      for (TFile* unit : c.Units) Units_[TreeView.AddChild(node, unit->Name)] = unit;
    }
  };
  list(ErrorsRoot, report.Errors);
  list(ComponentsRoot, report.Components);
  TreeView.FullExpand();
}

TFile* TfCycles::UnitOf(TTreeNode node) const {
  auto found = Units_.find(node);
  return found == Units_.end() ? nullptr : found->second;
}

int TfCycles::ShowCycles(const TCycleReport& report) {
  FillTree(report);
  // Beside the main window, so that the labels it flashes stay in sight.
  if (fUsagram && fUsagram->HandleAllocated()) {
    RECT main{}, work{};
    GetWindowRect(fUsagram->Handle(), &main);
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    int left = main.right;
    if (left + Width() > work.right) left = std::max<int>(work.left, work.right - Width());
    SetBounds(left, std::max<int>(work.top, main.top), Width(), Height());
  }
  const int result = ShowModal();
  FlashTimer.SetEnabled(false);
  if (flashing_ && fUsagram) InvalidateRect(fUsagram->Image.Handle(), nullptr, FALSE);
  flashing_ = nullptr;
  return result;
}

void TfCycles::TreeViewChange() {
  TFile* unit = UnitOf(TreeView.Selected());
  if (!unit || !fUsagram || fUsagram->Metafile.Empty()) return;
  if (flashing_) InvalidateRect(fUsagram->Image.Handle(), nullptr, FALSE);
  flashing_ = unit;
  flashStep_ = 0;
  FlashTimerTimer();
  FlashTimer.SetEnabled(true);
}

void TfCycles::FlashTimerTimer() {
  if (!flashing_ || !fUsagram || flashStep_ >= FlashSteps) {
    FlashTimer.SetEnabled(false);
    return;
  }
  HWND image = fUsagram->Image.Handle();
  RECT client{};
  GetClientRect(image, &client);
  const RECT label =
      LabelInImage(*flashing_, fUsagram->Metafile.Width, fUsagram->Metafile.Height, client.right, client.bottom);
  // Even steps invert the label, odd ones let the image paint it again.
  if (flashStep_ % 2 == 0) {
    TWindowDC dc(image);
    InvertRect(dc, &label);
  } else {
    InvalidateRect(image, &label, FALSE);
    UpdateWindow(image);
  }
  if (++flashStep_ >= FlashSteps) FlashTimer.SetEnabled(false);
}

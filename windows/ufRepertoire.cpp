#include "ufRepertoire.h"

#include <algorithm>

#include "ScopeExit.h"

TfRepertoire* fRepertoire = nullptr;

namespace {

// A cut path keeps the drive root ("C:\"), then the dots, then its end.
constexpr size_t RootLength = 3;
constexpr const char* Ellipsis = "...";
constexpr size_t FirstAfterDots = RootLength + 3;
// Once the label fits, two more characters go, so that the end of the path
// never touches the edge.
constexpr size_t ExtraCut = 2;

// Sets a flag for the rest of the scope, and gives back its former value then.
auto HoldFlag(bool& flag) {
  const bool previous = flag;
  flag = true;
  return TScopeExit([&flag, previous] { flag = previous; });
}

}  // namespace

TfRepertoire::TfRepertoire()
    : TForm(TFormParams{.Caption = "Directory selection", .Width = 325, .Height = 222}) {
  fRepertoire = this;
  CreateComponents();
  OnShow = [this] { FormShow(); };
  OnResize = [this] { FormResize(); };
  FinishCreate();
  // The drive box and the label show the list's directory from the start.
  const auto hold = HoldFlag(Changing);
  RefreshPath();
}

TfRepertoire::~TfRepertoire() {
  DestroyHandle();
  if (fRepertoire == this) fRepertoire = nullptr;
}

void TfRepertoire::CreateComponents() {
  Panel1.Create(*this, {235, 0, 90, 188});
  Panel1.SetAlign(alRight);
  BitBtn1.Default = true;
  BitBtn1.ModalResult = mrOk;
  BitBtn1.Create(Panel1, {8, 8, 75, 25}, "OK");
  BitBtn2.Cancel = true;
  BitBtn2.ModalResult = mrCancel;
  BitBtn2.Create(Panel1, {8, 40, 75, 25}, "Cancel");

  Panel2.Create(*this, {0, 0, 235, 188});
  Panel2.SetAlign(alClient);
  Rep.Create(Panel2, {1, 35, 233, 152});
  Rep.SetAlign(alClient);
  Rep.OnChange = [this] { RepChange(); };
  Rep.OnClick = [this] { RepClick(); };
  Rep.OnDblClick = [this] { RepDblClick(); };
  Rep.OnKeyUp = [this](WORD& key, TShiftState shift) { RepKeyUp(key, shift); };
  Rep.OnKeyDown = [this](WORD& key, TShiftState shift) { RepKeyDown(key, shift); };

  Panel3.Create(Panel2, {1, 1, 233, 34});
  Panel3.SetAlign(alTop);
  Repert.Create(Panel3, 1, 1, "");
  Repert.SetShowAccelChar(false);  // a directory may hold '&'
  Repert.SetAlign(alTop);
  Label1.Create(Panel3, 0, 16, "Drive : ");
  Drive.Create(Panel3, {48, 16, 18, 21}, "Drive");
  Drive.OnChange = [this] { DriveChange(); };
  Drive.OnEnter = [this] { DriveEnter(); };
  Drive.OnClick = [this] { DriveEnter(); };
  Drive.OnDblClick = [this] { DriveEnter(); };
  Drive.OnMouseDown = [this](TMouseButton, TShiftState, int, int) { DriveEnter(); };
}

bool TfRepertoire::Execute(const std::string& title, std::string& path) {
  SetCaption(title);
  {
    const auto hold = HoldFlag(Changing);
    try {
      Rep.SetDirectory(path);
    } catch (const std::exception&) {
      // A directory that has gone (a stored one, a removed drive) must not
      // keep the user from choosing another: the list stays where it was.
    }
  }
  if (ShowModal() != mrOk) return false;
  const int index = Rep.ItemIndex();
  if (index >= 0 && index < Rep.Count()) {
    path = Rep.GetItemPath(index);
  } else if (!Rep.Directory().empty()) {
    path = Rep.Directory();
  } else {
    return false;  // an empty list offers nothing to choose
  }
  return true;
}

void TfRepertoire::FormShow() {
  if (Rep.Handle()) Rep.SetFocus();
}

void TfRepertoire::FormResize() { RefreshPath(); }
void TfRepertoire::RepChange() { RefreshPath(); }
void TfRepertoire::RepClick() { RefreshPath(); }
void TfRepertoire::RepDblClick() { RefreshPath(); }
void TfRepertoire::RepKeyUp(WORD&, TShiftState) { RefreshPath(); }

void TfRepertoire::RepKeyDown(WORD& key, TShiftState) {
  if (key == VK_SPACE) Rep.OpenCurrent();
}

void TfRepertoire::RefreshPath() {
  if (!Repert.Handle() || !Drive.Handle()) return;  // still being built
  {
    // Writing the letter is not the user choosing a drive.
    const auto hold = HoldFlag(Changing);
    const std::string letter = Rep.Drive() ? std::string(1, Rep.Drive()) : std::string();
    if (Drive.Text() != letter) Drive.SetText(letter);
  }
  Repert.SetAlign(alNone);
  Repert.SetAutoSize(true);
  const int index = Rep.ItemIndex();
  std::string s = index >= 0 && index < Rep.Count() ? Rep.GetItemPath(index) : Rep.Directory();
  Repert.SetText(s);
  if (Panel3.ClientWidth() < Repert.Width() && s.size() > RootLength) {
    s.insert(RootLength, Ellipsis);
    // The first test still measures the uncut path: the caption changes
    // only inside the loop.
    while (Panel2.ClientWidth() < Repert.Width() && s.size() > FirstAfterDots) {
      s.erase(FirstAfterDots, 1);
      Repert.SetText(s);
    }
    if (s.size() > FirstAfterDots) s.erase(FirstAfterDots, std::min(ExtraCut, s.size() - FirstAfterDots));
    Repert.SetText(s);
  }
  Repert.SetAlign(alTop);
}

void TfRepertoire::DriveChange() {
  if (Changing) return;
  const auto hold = HoldFlag(Changing);
  const std::string old = Rep.Directory();
  const std::string text = Drive.Text();
  bool opened = false;
  if (!text.empty()) {
    try {
      Rep.SetDirectory(std::string(1, text[0]) + ":\\");
      opened = true;
    } catch (const std::exception&) {
      // No such drive, or not ready: back to where the list was.
    }
  }
  if (!opened) {
    try {
      Rep.SetDirectory(old);
    } catch (const std::exception&) {
      // The old directory has gone too: the list keeps what it shows.
    }
    Drive.SetText(Rep.Drive() ? std::string(1, Rep.Drive()) : std::string());
  }
  Drive.SelectAll();
}

void TfRepertoire::DriveEnter() { Drive.SelectAll(); }

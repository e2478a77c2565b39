#include "ufAProposDe.h"

#include "LaterWindows.h"
#include "TextBlock.h"
#include "WindowHooks.h"

TfAProposDe* fAProposDe = nullptr;

namespace {
constexpr int TextHeight = 128;
constexpr const char* Maker = "Usagram is written by Pelvarin for Vantrelle.";
constexpr const char* MailPrefix = "Mail: ";
constexpr const char* Web = "Web: http://www.usagram.example";
constexpr const char* Reports = "Found a fault? Help menu, \"Bug report\".";
}  // namespace

TfAProposDe::TfAProposDe()
    : TForm(TFormParams{.Caption = "About Usagram ...", .Width = 452, .Height = 291, .BorderStyle = bsDialog}) {
  fAProposDe = this;
  CreateComponents();
  OnShow = [this] { FormShow(); };
  // The focus sits in the text, which takes Enter as a key of its own:
  // the form sees it first, so that Enter presses OK as Escape does.
  KeyPreview = true;
  OnKeyDown = [this](WORD& key, TShiftState) {
    if (key != VK_RETURN) return;
    key = 0;
    BitBtn1.Click();
  };
  FinishCreate();
}

TfAProposDe::~TfAProposDe() {
  OnShow = nullptr;
  OnKeyDown = nullptr;
  DestroyHandle();
  if (fAProposDe == this) fAProposDe = nullptr;
}

void TfAProposDe::CreateComponents() {
  const int width = ClientWidth();
  RichEdit.Create(*this, {0, 0, width, TextHeight}, false, false, ssNone);
  RichEdit.SetAlign(alTop);
  StyleTextBlock(RichEdit);

  Panel1.Create(*this, {0, TextHeight, width, ClientHeight() - TextHeight});
  Panel1.SetAlign(alClient);
  Panel1.SetBevelOuter(bvLowered);
  int top = 10;
  for (auto [label, caption] : {std::pair<TLabel*, std::string>{&Label1, Maker},
                                {&Label2, std::string(MailPrefix) + WindowHooks.SupportAddress},
                                {&Label3, Web},
                                {&Label4, Reports}}) {
    label->Create(Panel1, {16, top, width - 32, 18}, caption);
    label->SetShowAccelChar(false);
    top += 20;
  }
  BitBtn1.Default = true;
  BitBtn1.Cancel = true;
  BitBtn1.ModalResult = mrOk;
  BitBtn1.Create(Panel1, {width - 91, Panel1.ClientHeight() - 35, 75, 25}, "OK");
}

void TfAProposDe::FormShow() {
  FillTextBlock(RichEdit);
}

void ShowAbout() {
  if (fAProposDe && !fAProposDe->Visible()) fAProposDe->ShowModal();
}

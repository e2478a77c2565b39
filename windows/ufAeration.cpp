#include "Settings.h"
#include "ufAeration.h"

#include "Draw.h"
#include "LaterWindows.h"

TfAeration* fAeration = nullptr;

namespace {

constexpr int AerationHelpContext = 7;
TSimplificationSource PreviousSource = nullptr;

// The drawing reads the boxes each time it composes; this source is
// installed only while the window exists.
TSimplification ReadFromWindow() {
  TSimplification options;
  if (fAeration)
    options = {fAeration->cbAmont.Checked(), fAeration->cbAval.Checked(), fAeration->cbVignette.Checked(),
               fAeration->cbDoc.Checked()};
  return options;
}

}  // namespace

TfAeration::TfAeration()
    : TForm(TFormParams{.Caption = "Diagram's simplification options", .Width = 311, .Height = 218,
                        .BorderStyle = bsDialog, .HelpContext = AerationHelpContext}) {
  fAeration = this;
  CreateComponents();
  FinishCreate();
  WithSettings([this](TRegIniFile& store) {
    cbAmont.SetChecked(Reg::ReadAmont(store));
    cbAval.SetChecked(Reg::ReadAval(store));
    cbVignette.SetChecked(Reg::ReadVignette(store));
    cbDoc.SetChecked(Reg::ReadDoc(store));
  });
  UpdatePreview();
  PreviousSource = SetSimplificationSource(&ReadFromWindow);
}

TfAeration::~TfAeration() {
  SetSimplificationSource(PreviousSource);
  WithSettings([this](TRegIniFile& store) {
    Reg::WriteAmont(store, cbAmont.Checked());
    Reg::WriteAval(store, cbAval.Checked());
    Reg::WriteVignette(store, cbVignette.Checked());
    Reg::WriteDoc(store, cbDoc.Checked());
  });
  DestroyHandle();
  if (fAeration == this) fAeration = nullptr;
}

void TfAeration::CreateComponents() {
  const int width = ClientWidth() - 16;
  int top = 8;
  for (auto [box, caption] : {std::pair<TCheckBox*, const char*>{&cbAmont, "Delete links which use the label"},
                              {&cbAval, "Delete links towards units used by the label"},
                              {&cbVignette, "Delete label's drawing"},
                              {&cbDoc, "Do not include in document"}}) {
    box->Create(*this, {8, top, width, 17}, caption);
    box->OnClick = [this] { UpdatePreview(); };
    top += 21;
  }
  BitBtn1.Default = true;
  BitBtn1.Cancel = true;
  BitBtn1.ModalResult = mrOk;
  BitBtn1.Create(*this, {ClientWidth() - 83, ClientHeight() - 33, 75, 25}, "OK");

  TFont underlined;
  underlined.Underline = true;
  Label1.Create(*this, 8, top + 6, "Preview");
  Label1.SetFont(underlined);

  // A label with a link arriving at its right edge, three links of its own
  // hanging from its bottom edge, and the mark of its document section.
  const int labelTop = top + 28, labelLeft = 40, labelWidth = 76, labelHeight = 22;
  Vi1.Create(*this, {labelLeft, labelTop, labelWidth, labelHeight});
  Vi1.SetBrush(clWhite);
  Vi1.SetPen(clBlack);
  Vi1.SetColor(clWhite);
  const int textHeight = TextExtent(Font(), "Test.PAS").cy;
  Vi2.Create(Vi1, {2, (labelHeight - textHeight) / 2, labelWidth - 4, textHeight}, "Test.PAS");
  Vi2.SetAlignment(taCenter);
  const int middle = labelTop + labelHeight / 2, bottom = labelTop + labelHeight;
  H1.Create(*this, {labelLeft + labelWidth, middle, 60, 1});
  int x = labelLeft + 10;
  for (TShape* line : {&V1, &V2, &V3}) {
    line->Create(*this, {x, bottom, 1, 26});
    x += 14;
  }
  for (TShape* line : {&H1, &V1, &V2, &V3}) line->SetBrush(clBlack);
  doc.Create(*this, labelLeft + labelWidth + 12, bottom + 4, "doc");
}

void TfAeration::UpdatePreview() {
  H1.SetVisible(!cbAmont.Checked());
  for (TShape* line : {&V1, &V2, &V3}) line->SetVisible(!cbAval.Checked());
  Vi1.SetVisible(!cbVignette.Checked());
  Vi2.SetVisible(!cbVignette.Checked());
  doc.SetVisible(!cbDoc.Checked());
}

void ExecuteSimplification() {
  if (fAeration) fAeration->ShowModal();
}

#include "ufAccueil.h"

#include "LaterWindows.h"
#include "Pictures.h"
#include "TextBlock.h"
#include "ufUsagram.h"

TfAccueil* fAccueil = nullptr;

namespace {
constexpr int Bevel = 7;
constexpr int PictureSide = 140;
constexpr int StripHeight = 34;
}  // namespace

TfAccueil::TfAccueil()
    : TForm(TFormParams{.Caption = "Welcome", .ClientWidth = 373, .ClientHeight = 229, .BorderStyle = bsNone,
                        .StayOnTop = true}) {
  fAccueil = this;
  CreateComponents();
  OnShow = [this] { FormShow(); };
  OnCloseQuery = [this](bool& canClose) { FormCloseQuery(canClose); };
  Timer.OnTimer = [this] { TimerTimer(); };
  FinishCreate();
}

TfAccueil::~TfAccueil() {
  OnShow = nullptr;
  OnCloseQuery = nullptr;
  Timer.SetEnabled(false);
  DestroyHandle();
  if (fAccueil == this) fAccueil = nullptr;
}

void TfAccueil::CreateComponents() {
  const int width = ClientWidth(), height = ClientHeight();
  Panel1.Create(*this, {0, 0, width, height});
  Panel1.SetAlign(alClient);
  Panel1.SetBevelWidth(Bevel);

  Panel2.Create(Panel1, {Bevel, height - Bevel - StripHeight, width - 2 * Bevel, StripHeight});
  Panel2.SetAlign(alBottom);
  Panel2.SetBevelOuter(bvNone);
  Quorvel.Create(Panel2, {0, 0, width - 2 * Bevel, StripHeight});
  Quorvel.SetAlign(alClient);
  Quorvel.SetCenter(true);
  Quorvel.SetTransparent(true);
  Quorvel.SetBitmap(LoadPicture(IDB_QUORVEL));

  const int upper = height - 2 * Bevel - StripHeight;  // the room above the strip
  const int pictureTop = Bevel + (upper - PictureSide) / 2;
  Image.Create(Panel1, {Bevel + 8, pictureTop, PictureSide, PictureSide});
  Image.SetStretch(true);
  Image.SetBitmap(LoadPicture(IDB_WELCOME));

  const int textLeft = Bevel + 8 + PictureSide + 8;
  RichEdit.Create(Panel1, {textLeft, Bevel + 6, width - Bevel - 6 - textLeft, upper - 12}, false, false, ssNone);
  StyleTextBlock(RichEdit);
}

void TfAccueil::FormShow() {
  if (FirstShow) {
    FirstShow = false;
    FillTextBlock(RichEdit);
  }
  Timer.SetEnabled(true);
  Invalidate();
  Update();
}

// The five seconds are the user's to read.
void TfAccueil::FormCloseQuery(bool& canClose) { canClose = !Timer.Enabled(); }

void TfAccueil::TimerTimer() {
  Timer.SetEnabled(false);
  Hide();
  if (!ClosingShown) return;
  if (ExpertMode) {
    if (fUsagram) fUsagram->Close();
  } else {
    Application.Terminate();
  }
}

void ShowWelcome(bool closing) {
  if (fAccueil) {
    fAccueil->Show();
    return;
  }
  // Without the window, the close it would perform happens at once.
  if (closing && fUsagram) PostMessageA(fUsagram->Handle(), WM_CLOSE, 0, 0);
}

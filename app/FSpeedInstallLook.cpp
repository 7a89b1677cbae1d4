// The handlers that only change the look of the window or move it.
#include "app/FSpeedInstall.h"
#include "skin/UnitFormImage5.h"

namespace ctl = ostrel::skin::ctl;

namespace {
constexpr ostrel::skin::Rgb kBackLinkHover{0x4882E1};
constexpr ostrel::skin::Rgb kBackLinkNormal{0x666666};
}  // namespace

void TfrmSpeedInstall::imgtopMouseDown(TControl*, TMouseButton Button, int, int) {
  if (Button != TMouseButton::Left) return;
  FHost.StartSystemMove();
}

void TfrmSpeedInstall::lblAZMouseDown(TControl* Sender, TMouseButton, int, int) { SkinBtnMouseDown(FForm, Sender); }
void TfrmSpeedInstall::lblAZMouseUp(TControl* Sender, TMouseButton, int, int) { SkinBtnMouseUp(FForm, Sender); }
void TfrmSpeedInstall::lblAZMouseEnter(TControl* Sender) { SkinBtnMouseEnter(FForm, Sender); }
void TfrmSpeedInstall::lblAZMouseLeave(TControl* Sender) { SkinBtnMouseLeave(FForm, Sender); }
void TfrmSpeedInstall::lblCloseMouseEnter(TControl* Sender) { SkinHotMouseEnter(FForm, Sender); }
void TfrmSpeedInstall::lblCloseMouseLeave(TControl* Sender) { SkinHotMouseLeave(FForm, Sender); }

void TfrmSpeedInstall::lblFHMouseEnter(TControl* Sender) {
  if (Sender) FForm.SetTextColour(*Sender, kBackLinkHover);
}

void TfrmSpeedInstall::lblFHMouseLeave(TControl* Sender) {
  if (Sender) FForm.SetTextColour(*Sender, kBackLinkNormal);
}

void TfrmSpeedInstall::tmrPicTimer(TControl*) {
  ++FSlideIndex;
  FForm.ShowPage(ctl::nbPicBrowse, FSlideIndex);
  if (FSlideIndex == 2) FSlideIndex = -1;
}

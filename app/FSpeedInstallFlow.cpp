// The install flow's handlers. The steps behind the clicks and the progress timers are
// bound here as they land; closing the window already works.
#include "app/FSpeedInstall.h"

void TfrmSpeedInstall::lblAZClick(TControl*) {}
void TfrmSpeedInstall::lblFHClick(TControl*) {}
void TfrmSpeedInstall::lblLLClick(TControl*) {}
void TfrmSpeedInstall::lblLJAZClick(TControl*) {}
void TfrmSpeedInstall::lblXZClick(TControl*) {}
void TfrmSpeedInstall::lblWCClick(TControl*) {}
void TfrmSpeedInstall::tmr1Timer(TControl*) {}
void TfrmSpeedInstall::tmr2Timer(TControl*) {}
void TfrmSpeedInstall::tmr3Timer(TControl*) {}

void TfrmSpeedInstall::lblCloseClick(TControl*) {
  FForm.SetTimerEnabled("tmr1", false);
  FHost.CloseWindow();
}

#include "app/FSpeedInstall.h"

#include <array>

#include "app/SharedValues.h"
#include "skin/UnitFormImage5.h"
#include "support/pubShare.h"

namespace ctl = ostrel::skin::ctl;

namespace {

using Notify = void (TfrmSpeedInstall::*)(TfrmSpeedInstall::TControl*);
using Mouse = void (TfrmSpeedInstall::*)(TfrmSpeedInstall::TControl*, TfrmSpeedInstall::TMouseButton, int, int);

struct Binding {
  std::string_view name;
  Notify notify = nullptr;
  Mouse mouse = nullptr;
};

// The handler names of the window description and the operations that run for them.
const std::array kBindings = {
    Binding{"imgtopMouseDown", nullptr, &TfrmSpeedInstall::imgtopMouseDown},
    Binding{"lblAZMouseDown", nullptr, &TfrmSpeedInstall::lblAZMouseDown},
    Binding{"lblAZMouseUp", nullptr, &TfrmSpeedInstall::lblAZMouseUp},
    Binding{"lblAZMouseEnter", &TfrmSpeedInstall::lblAZMouseEnter},
    Binding{"lblAZMouseLeave", &TfrmSpeedInstall::lblAZMouseLeave},
    Binding{"lblCloseMouseEnter", &TfrmSpeedInstall::lblCloseMouseEnter},
    Binding{"lblCloseMouseLeave", &TfrmSpeedInstall::lblCloseMouseLeave},
    Binding{"lblFHMouseEnter", &TfrmSpeedInstall::lblFHMouseEnter},
    Binding{"lblFHMouseLeave", &TfrmSpeedInstall::lblFHMouseLeave},
    Binding{"tmrPicTimer", &TfrmSpeedInstall::tmrPicTimer},
    Binding{"lblAZClick", &TfrmSpeedInstall::lblAZClick},
    Binding{"lblFHClick", &TfrmSpeedInstall::lblFHClick},
    Binding{"lblLLClick", &TfrmSpeedInstall::lblLLClick},
    Binding{"lblLJAZClick", &TfrmSpeedInstall::lblLJAZClick},
    Binding{"lblXZClick", &TfrmSpeedInstall::lblXZClick},
    Binding{"lblWCClick", &TfrmSpeedInstall::lblWCClick},
    Binding{"lblCloseClick", &TfrmSpeedInstall::lblCloseClick},
    Binding{"tmr1Timer", &TfrmSpeedInstall::tmr1Timer},
    Binding{"tmr2Timer", &TfrmSpeedInstall::tmr2Timer},
    Binding{"tmr3Timer", &TfrmSpeedInstall::tmr3Timer},
};

}  // namespace

TfrmSpeedInstall::TfrmSpeedInstall(ostrel::app::FormHost& host) : FHost(host) {
  FForm.SetEventTarget(this);
  FForm.SetObserver(&FHost);
  if (const auto caller = FHost.CallerOnWindowThread()) caller->BindDownloadFailed([this] { WMDownloadFailed(); });
}

// The caller may outlive the form: a late notice finds no handler.
TfrmSpeedInstall::~TfrmSpeedInstall() {
  if (const auto caller = FHost.CallerOnWindowThread()) caller->BindDownloadFailed(nullptr);
}

std::vector<std::string_view> TfrmSpeedInstall::HandlerNames() {
  std::vector<std::string_view> names;
  for (const Binding& b : kBindings) names.push_back(b.name);
  return names;
}

void TfrmSpeedInstall::Handle(std::string_view handler, TControl& sender, const ostrel::skin::MouseEvent* mouse) {
  for (const Binding& b : kBindings) {
    if (b.name != handler) continue;
    if (b.mouse && mouse) (this->*b.mouse)(&sender, mouse->button, mouse->x, mouse->y);
    if (b.notify) (this->*b.notify)(&sender);
    return;
  }
}

void TfrmSpeedInstall::FormShow() {
  FDirectDownload = false;
  AppDir = ostrel::app::ExecutableFolder();
  InstallDrive = GetInstallDrive();
  if (InstallDrive.empty()) InstallDrive = "C:\\";
  StagingDir = InstallDrive + "Program Files\\Ostrel\\InstOstrel\\";
  GetNewVer();  // before the window is first shown; without a manifest the captions stay empty
  FForm.SetText(ctl::lblVersion, NewVersion);
  FForm.SetText(ctl::lblVersion2, NewVersion);
  LoadFormImages(FForm);
  ShowMainPage(ostrel::app::kPageAZ);
  FForm.SetText(ctl::edtAZLJ, "");
  LoadPngImage(AppDir + "res\\ZJM\\bg_JSAZ.png", FForm.Get(ctl::imgBg2));
  LoadGifImage(AppDir + "res\\ZJM\\bg_JSAZ1.gif", FForm.Get(ctl::imgBg1));
  LoadPngImage(AppDir + "res\\ZJM\\bg_JSAZ.png", FForm.Get(ctl::imgBg4));
  LoadPngImage(AppDir + "res\\ZJM\\bg_banben.png", FForm.Get(ctl::imgico_bb));
  // Double buffering: every host paints the whole content off screen already.
  FForm.ShowPage(ctl::nbPicBrowse, 0);
  SetProgressFill(0);
  FSlideIndex = 0;
  NotifyWindow = FHost.CallerOnWindowThread();
}

void TfrmSpeedInstall::SetProgressFill(int percent) {
  FForm.SetWidth(ctl::lblJDT, percent * FForm.Get(ctl::pnlJD).box.width / 100);
}

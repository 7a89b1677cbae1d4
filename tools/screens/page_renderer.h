// Draws the installer window's content into 640 x 480 images through the Qt canvas, with
// no window on screen.
#pragma once

#include <QImage>

#include "app/FSpeedInstall.h"
#include "app/FormHost.h"
#include "app/qt/QtCanvas.h"

namespace ostrel::screens {

// A host with no screen: nothing to repaint, move or close.
class HeadlessHost : public app::FormHost {
 public:
  void StartSystemMove() override {}
  void Repaint(const skin::Box&) override {}
  void CloseWindow() override {}
};

// The window after its show handler, its animation held at the first frame.
class PageRenderer {
 public:
  PageRenderer();
  TfrmSpeedInstall& Window() { return window_; }
  QImage Render();

 private:
  HeadlessHost host_;
  app::qt::QtCanvas measure_;
  TfrmSpeedInstall window_;
};

}  // namespace ostrel::screens

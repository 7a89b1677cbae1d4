// ostrel-screens OUTDIR: writes each page of the installer window as it looks after
// show: AZ.png, AZ-hover.png (pointer over "极速安装"), SZ.png, XZ.png, XZ-2.png,
// XZ-3.png (the three slides, at 0 %) and WC.png. Exit 0 written, 1 failed, 2 usage.
#include <QDir>
#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>
#include <exception>

#include "skin/ControlNames.h"
#include "tools/screens/page_renderer.h"

namespace {

bool Save(ostrel::screens::PageRenderer& renderer, const QDir& dir, const char* name) {
  const QString path = dir.filePath(QString::fromLatin1(name));
  if (renderer.Render().save(path, "PNG")) return true;
  std::fprintf(stderr, "ostrel-screens: can't write %s\n", path.toLocal8Bit().constData());
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: ostrel-screens OUTDIR\n");
    return 2;
  }
  if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QGuiApplication application(argc, argv);
  const QDir dir(QString::fromLocal8Bit(argv[1]));
  if (!QDir().mkpath(dir.path())) {
    std::fprintf(stderr, "ostrel-screens: can't create %s\n", argv[1]);
    return 1;
  }
  try {
    ostrel::screens::PageRenderer renderer;
    TfrmSpeedInstall& window = renderer.Window();
    ostrel::skin::Form& form = window.Form();
    bool ok = Save(renderer, dir, "AZ.png");
    const ostrel::skin::Box button = form.VisibleBox(form.Get(ostrel::skin::ctl::lblAZ));
    form.PointerMove(button.left + button.width / 2, button.top + button.height / 2);
    ok = Save(renderer, dir, "AZ-hover.png") && ok;
    form.PointerMove(0, 0);
    window.ShowMainPage(ostrel::app::kPageSZ);
    ok = Save(renderer, dir, "SZ.png") && ok;
    window.ShowMainPage(ostrel::app::kPageXZ);
    ok = Save(renderer, dir, "XZ.png") && ok;
    form.TimerTick("tmrPic");
    ok = Save(renderer, dir, "XZ-2.png") && ok;
    form.TimerTick("tmrPic");
    ok = Save(renderer, dir, "XZ-3.png") && ok;
    window.ShowMainPage(ostrel::app::kPageWC);
    ok = Save(renderer, dir, "WC.png") && ok;
    return ok ? 0 : 1;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "ostrel-screens: %s\n", e.what());
    return 1;
  }
}

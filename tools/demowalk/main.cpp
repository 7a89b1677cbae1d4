// ostrel-demo-walk OUTDIR
//
// Runs the installer window and walks it through a whole install by itself: "极速安装",
// "立即安装", the installing page, the done page and its close control, which registers the
// platform. Writes AZ.png, SZ.png, XZ.png, WC.png (and box-N.png for any box it had to answer)
// and walk.txt (the steps reached, the boxes, the registry values written) into OUTDIR.
// Exit code 0 when the walk reached the end, 1 otherwise, 2 on a usage error.
#include <QApplication>
#include <QDir>

#include <cstdio>
#include <fstream>

#include "app/FSpeedInstall.h"
#include "app/qt/SkinWindow.h"
#include "platform/host_path.h"
#include "support/pubShare.h"
#include "tools/demowalk/demo_walker.h"

namespace {

constexpr const char* kRegistry[][2] = {
    {"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\OstrelNorvik\\", "DisplayIcon"},
    {"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\OstrelNorvik\\", "DisplayName"},
    {"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\OstrelNorvik\\", "DisplayVersion"},
    {"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\OstrelNorvik\\", "UninstallString"},
    {"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\OstrelNorvik\\", "HelpLink"},
    {"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\OstrelNorvik\\", "URLInfoAbout"},
    {"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\OstrelNorvik\\", "Publisher"},
    {"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\OstrelNorvik\\", ""},
    {"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\OstrelNorvik\\", "Path"},
    {"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\OstrelNorvik\\", "InstallTime"},
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: ostrel-demo-walk OUTDIR\n");
    return 2;
  }
  QApplication application(argc, argv);
  const QString outDir = QString::fromLocal8Bit(argv[1]);
  QDir().mkpath(outDir);

  ostrel::app::qt::SkinWindow window;
  TfrmSpeedInstall frmSpeedInstall(window);
  window.Attach(frmSpeedInstall);
  frmSpeedInstall.FormShow();
  window.PlaceAtFirstPosition();
  window.show();
  ostrel::demowalk::DemoWalker walker(window, frmSpeedInstall, outDir);
  walker.Start();
  application.exec();

  std::ofstream report((outDir + "/walk.txt").toStdString());
  for (const std::string& note : walker.Notes()) report << note << "\n";
  report << "\nregistry (HKEY_LOCAL_MACHINE):\n";
  for (const auto& [key, name] : kRegistry)
    report << key << (*name ? name : "(default)") << " = " << ReadRegString(key, name) << "\n";
  const std::string desktop = ReadRegString(
      "Software\\MicroSoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", "Desktop", kHkeyCurrentUser);
  report << "\nshortcut: " << platform::HostPath(desktop + "\\OstrelPro.lnk") << "\n";
  report.close();
  if (frmSpeedInstall.DownloadJob()) frmSpeedInstall.DownloadJob()->WaitForThreads(std::chrono::seconds(10));
  return walker.Succeeded() ? 0 : 1;
}

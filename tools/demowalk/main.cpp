// ostrel-demo-walk OUTDIR
//
// Runs the installer window and walks it through a whole install by itself: "极速安装",
// "立即安装", the installing page, the done page and its close control, which registers the
// platform. Writes AZ.png, SZ.png, XZ.png, WC.png (and box-N.png for any box it had to answer)
// and walk.txt (the steps reached, the boxes, the registry values written) into OUTDIR.
// Exit code 0 when the walk reached the end, 1 otherwise, 2 on a usage error.
#include <QDir>

#include <chrono>
#include <cstdio>
#include <fstream>

#include "app/Registration.h"
#include "app/qt/InstallerSession.h"
#include "platform/host_path.h"
#include "support/pubShare.h"
#include "tools/demowalk/demo_walker.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: ostrel-demo-walk OUTDIR\n");
    return 2;
  }
  const QString outDir = QString::fromLocal8Bit(argv[1]);
  platform::InitPrefix();
  ostrel::app::qt::InstallerSession session(argc, argv);
  QDir().mkpath(outDir);
  // The walker answers boxes from the start, also one the show handler may raise.
  ostrel::demowalk::DemoWalker walker(session.Window(), session.Form(), outDir);
  walker.Start();
  session.Show();
  session.Run(std::chrono::seconds(10));

  std::ofstream report((outDir + "/walk.txt").toStdString());
  for (const std::string& note : walker.Notes()) report << note << "\n";
  report << "\nregistry (HKEY_LOCAL_MACHINE):\n";
  for (const auto& [key, name] : ostrel::app::kRegisteredValues)
    report << key << (*name ? name : "(default)") << " = " << ReadRegString(key, name) << "\n";
  report << "\nshortcut: " << platform::HostPath(DesktopShortcutFile()) << "\n";
  report.close();
  return walker.Succeeded() ? 0 : 1;
}

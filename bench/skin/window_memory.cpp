// ostrel-window-memory bare|window [SECONDS]: one window on the display, its events run for
// SECONDS (default 3), then its peak resident memory (VmHWM) is printed. "window" is the
// installer window on its start page with the animation playing, after its show handler
// (whose time is printed too); "bare" is an empty frameless Qt window of the same size, made
// by the same application class, for comparison. Servers refuse at once (127.0.0.1:1) and the
// prefix is a temporary folder, so nothing outside is asked or written.
#include <QTimer>
#include <QWidget>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "app/FSpeedInstall.h"
#include "app/qt/InstallerApplication.h"
#include "app/qt/SkinWindow.h"

namespace {

long PeakResidentKiB() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind("VmHWM:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
  return -1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || (std::strcmp(argv[1], "bare") != 0 && std::strcmp(argv[1], "window") != 0)) {
    std::fprintf(stderr, "usage: ostrel-window-memory bare|window [SECONDS]\n");
    return 2;
  }
  const bool bare = std::strcmp(argv[1], "bare") == 0;
  const int seconds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
  std::string scratch = (std::filesystem::temp_directory_path() / "ostrel-memory-XXXXXX").string();
  if (!::mkdtemp(scratch.data())) return 1;
  setenv("OSTREL_PREFIX", (scratch + "/prefix").c_str(), 1);
  setenv("OSTREL_DOWNLOAD_SERVER", "http://127.0.0.1:1/", 1);
  setenv("OSTREL_WEB_SERVER", "http://127.0.0.1:1/", 1);
  setenv("OSTREL_WEB_SERVER_ALT", "http://127.0.0.1:1/", 1);
  int result = 0;
  {
    ostrel::app::qt::InstallerApplication application(argc, argv);
    std::unique_ptr<QWidget> plain;
    std::unique_ptr<ostrel::app::qt::SkinWindow> window;
    std::unique_ptr<TfrmSpeedInstall> form;
    if (bare) {
      plain = std::make_unique<QWidget>();
      plain->setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
      plain->setFixedSize(642, 482);
      plain->show();
    } else {
      window = std::make_unique<ostrel::app::qt::SkinWindow>();
      form = std::make_unique<TfrmSpeedInstall>(*window);
      window->Attach(*form);
      const auto start = std::chrono::steady_clock::now();
      form->FormShow();
      const double showMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
      std::printf("show handler: %.1f ms\n", showMs);
      window->ShowAtFirstPosition();
    }
    QTimer::singleShot(seconds * 1000, &application, &QCoreApplication::quit);
    result = application.exec();
    std::printf("peak resident memory (%s, %s): %.1f MiB\n", argv[1],
                application.platformName().toLocal8Bit().constData(), PeakResidentKiB() / 1024.0);
  }
  std::error_code ignored;
  std::filesystem::remove_all(scratch, ignored);
  return result;
}

#include "app/qt/InstallerSession.h"

#include <string>

#include "app/StartUp.h"

namespace ostrel::app::qt {

InstallerSession::InstallerSession(int& argc, char** argv) : application_(argc, argv), form_(window_) {
  window_.Attach(form_);
}

void InstallerSession::Show() {
  RunHandler([this] { form_.FormShow(); }, [this](const std::string& text) { ShowErrorBox(&window_, text); });
  window_.PlaceAtFirstPosition();
  window_.show();
}

void InstallerSession::Run(std::chrono::milliseconds threadsGrace) {
  application_.exec();
  form_.WaitForJobThreads(threadsGrace);
}

}  // namespace ostrel::app::qt

// InstKeloPro: the speed installer. Without an argument it hands over to an elevated copy of
// itself ("UAC") and ends; with one it shows the installer window and runs until it closes.
#include <cstdio>
#include <string>

#include "app/RunInstaller.h"
#include "app/qt/InstallerApplication.h"
#include "app/qt/SkinWindow.h"

namespace {

class QtProgram : public ostrel::app::ProgramHost {
 public:
  QtProgram(int& argc, char** argv) : argc_(argc), argv_(argv) {}

  void TellStartProblem(const std::string& text) override { std::fprintf(stderr, "%s\n", text.c_str()); }
  platform::WindowHandle PromptOwner() override { return 0; }
  void RunWindow(const std::function<void(ostrel::app::SessionHost&)>& session) override {
    ostrel::app::qt::InstallerApplication application(argc_, argv_);
    ostrel::app::qt::SkinWindow window;
    session(window);
  }
  // The application is gone with the error: the text goes to the standard error.
  void ShowErrorBox(const std::string& text) override { std::fprintf(stderr, "InstKeloPro: %s\n", text.c_str()); }

 private:
  int& argc_;
  char** argv_;
};

}  // namespace

int main(int argc, char** argv) {
  QtProgram program(argc, argv);
  return ostrel::app::RunInstaller(argc - 1, program);
}

// Walks the installer window through a whole install as a user would: "极速安装", "立即安装",
// waits for the done page, closes it (which registers the platform). Saves a screenshot of each
// page, answers every box (noting its text) and records what the registration wrote.
#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/FSpeedInstall.h"
#include "app/qt/SkinWindow.h"

namespace ostrel::demowalk {

class DemoWalker : public QObject {
 public:
  DemoWalker(app::qt::SkinWindow& window, TfrmSpeedInstall& form, QString outDir);
  // Starts the walk; the application quits when it is over (done, or stuck for too long).
  void Start();
  // The walk reached its end: the done page was closed and the window is gone.
  bool Succeeded() const { return succeeded_ || (next_ + 1 >= steps_.size() && !window_.isVisible()); }
  const std::vector<std::string>& Notes() const { return notes_; }

 private:
  struct Step {
    const char* what;
    std::function<bool()> ready;  // polled until true
    std::function<void()> act;
  };
  void Poll();
  void AnswerBoxes();
  void Click(std::string_view label);
  void Shoot(const char* name);
  int Page();
  int Percent();  // the percent text's number

  app::qt::SkinWindow& window_;
  TfrmSpeedInstall& form_;
  QString outDir_;
  std::vector<Step> steps_;
  size_t next_ = 0;
  QTimer poll_;
  QTimer boxes_;
  int64_t stepStarted_ = 0;
  bool succeeded_ = false;
  std::vector<std::string> notes_;
};

}  // namespace ostrel::demowalk

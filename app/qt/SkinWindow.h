// The installer window on Qt: a frameless 642 x 482 widget with a 1-pixel silver frame
// around the form's 640 x 480 content, a line edit for the edit box and a QTimer per timer.
#pragma once

#include <QFileDialog>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <map>
#include <string>

#include "app/FSpeedInstall.h"
#include "app/QueuedWindowCaller.h"
#include "app/WindowSession.h"
#include "app/qt/QtCanvas.h"

namespace ostrel::app::qt {

using app::kFrame;

class SkinWindow : public QWidget, public SessionHost {
 public:
  SkinWindow();
  ~SkinWindow() override;

  QLineEdit* EditBox() { return edit_; }

  // NativeParts.
  skin::TextMeasure& Measure() override { return canvas_; }
  void StyleEditBox(const EditBoxLook& look) override;
  void UpdateEditBox(const skin::Box& box, const std::string& text, bool visible) override;
  void RunTimer(int id, int interval, bool enabled) override;
  void ScheduleAnimation(int64_t delay) override;
  void ShowPointer(bool hand) override;
  void ShowErrorBox(const std::string& text) override;

  // SessionHost.
  void ShowAt(int left, int top) override;
  skin::Box VirtualScreen() override;
  void RunEvents() override;
  void StartSystemMove() override;
  void Repaint(const skin::Box& area) override;
  void CloseWindow() override;
  bool WindowClosed() const override { return closed_; }
  void ShowMessage(const std::string& text) override;
  void ProcessMessages() override;
  std::optional<std::string> BrowseForFolder(const std::string& title, const std::string& startFolder) override;
  std::shared_ptr<WindowThreadCaller> CallerOnWindowThread() override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  QtCanvas canvas_;
  QLineEdit* edit_;
  std::map<int, QTimer*> timers_;
  QTimer animation_;
  std::shared_ptr<QueuedWindowCaller> caller_;  // woken through the application's event queue
  bool closed_ = false;  // set as the window closes
  bool closing_ = false;  // the flow closes the window (CloseWindow)
  bool inSystemClose_ = false;  // a close asked by the system is under way in the close control's way
  bool systemCloseAccepted_ = false;  // ... and that way closed the window
  QPointer<QFileDialog> picker_;  // the folder picker while it is open
};

}  // namespace ostrel::app::qt

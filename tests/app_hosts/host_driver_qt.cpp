// The host tests' hand on the Qt host: widgets read through Qt, input sent as Qt's events, boxes
// and the picker found by a timer that runs in their event loops.
#include <QApplication>
#include <QFileDialog>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTextDocumentFragment>
#include <QTimer>

#include "app/qt/SkinWindow.h"
#include "platform/host_path.h"
#include "tests/app_hosts/host_driver.h"

namespace ostrel::app::hosts {
namespace {

using qt::SkinWindow;

Qt::MouseButton QtButton(skin::MouseButton button) {
  switch (button) {
    case skin::MouseButton::Left: return Qt::LeftButton;
    case skin::MouseButton::Right: return Qt::RightButton;
    default: return Qt::MiddleButton;
  }
}

// Runs action while a timer asks find every 20 ms for what action brings up; the first answer
// found is handed to answer, once. True when one was found.
template <typename T>
bool WhileRunning(const std::function<void()>& action, const std::function<T*()>& find,
                  const std::function<void(T*)>& answer) {
  QTimer poll;
  bool found = false;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (T* shown = find()) {
      poll.stop();
      found = true;
      answer(shown);
    }
  });
  poll.start(20);
  action();
  return found;
}

QFileDialog* ShownPicker() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* picker = qobject_cast<QFileDialog*>(w); picker && picker->isVisible()) return picker;
  return nullptr;
}

class QtDriver : public DriverOf<SkinWindow> {
 public:
  bool Show() override {
    window_.ShowAtFirstPosition();
    return QTest::qWaitForWindowExposed(&window_);
  }

  WindowSeen Seen() override {
    const QRect outer = window_.frameGeometry();
    return {{outer.x(), outer.y(), outer.width(), outer.height()},
            window_.width(),
            window_.height(),
            window_.windowTitle().toStdString(),
            (window_.windowFlags() & Qt::FramelessWindowHint) != 0,
            window_.isVisible()};
  }

  skin::Box Screen() override {
    const QRect screen = QGuiApplication::primaryScreen()->virtualGeometry();
    return {screen.x(), screen.y(), screen.width(), screen.height()};
  }

  uint32_t Pixel(int x, int y) override { return window_.grab().toImage().pixel(x, y) & 0xFFFFFFu; }

  EditSeen Edit() override {
    const QLineEdit* edit = window_.EditBox();
    const QRect r = edit->geometry();
    return {{r.x(), r.y(), r.width(), r.height()}, edit->text().toStdString(), edit->isVisible(), edit->hasFrame()};
  }

  void Type(const std::string& text) override {
    for (const QChar c : QString::fromStdString(text)) {
      QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
      QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
      QApplication::sendEvent(window_.EditBox(), &press);
      QApplication::sendEvent(window_.EditBox(), &release);
    }
  }

  void Move(int x, int y) override {
    const QPointF p(x, y);
    QMouseEvent move(QEvent::MouseMove, p, window_.mapToGlobal(p), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&window_, &move);
  }
  void Press(int x, int y, skin::MouseButton button) override {
    QTest::mousePress(&window_, QtButton(button), {}, QPoint(x, y));
  }
  void Release(int x, int y, skin::MouseButton button) override {
    QTest::mouseRelease(&window_, QtButton(button), {}, QPoint(x, y));
  }
  Pointer PointerShape() override {
    switch (window_.cursor().shape()) {
      case Qt::ArrowCursor: return Pointer::Arrow;
      case Qt::PointingHandCursor: return Pointer::Hand;
      default: return Pointer::Other;
    }
  }

  std::optional<BoxSeen> AnswerBox(const std::function<void()>& action) override {
    std::optional<BoxSeen> seen;
    WhileRunning<QMessageBox>(
        action, [] { return qobject_cast<QMessageBox*>(QApplication::activeModalWidget()); },
        [&](QMessageBox* box) {
          seen = BoxSeen{box->windowTitle().toStdString(), ShownText(*box), IconOf(*box),
                         static_cast<int>(box->buttons().size()), box->parentWidget() == &window_};
          box->button(QMessageBox::Ok)->click();
        });
    return seen;
  }

  bool AnswerPicker(const std::function<void()>& action, const std::function<void(const PickerSeen&)>& whileOpen,
                    const std::optional<std::string>& chosen) override {
    return WhileRunning<QFileDialog>(action, &ShownPicker, [&](QFileDialog* shown) {
      const QPointer<QFileDialog> picker = shown;
      whileOpen({window_.isEnabled(), QApplication::activeModalWidget() != nullptr || picker->isModal()});
      if (!picker || !picker->isVisible()) return;
      if (!chosen) return picker->reject();
      picker->setDirectory(QString::fromStdString(platform::HostPath(*chosen)));
      static_cast<QDialog*>(picker.data())->accept();  // QFileDialog::accept, as the OK button
    });
  }

  int OpenPickers() override {
    int open = 0;
    for (QWidget* w : QApplication::topLevelWidgets()) open += qobject_cast<QFileDialog*>(w) && w->isVisible();
    return open;
  }

  bool SystemClose() override { return window_.close(); }

  bool PumpUntil(const std::function<bool()>& done) override { return QTest::qWaitFor(done, 10000); }

 private:
  // The box's text as it reads: markup is rendered unless the box shows plain text.
  static std::string ShownText(const QMessageBox& box) {
    const bool plain = box.textFormat() == Qt::PlainText ||
                       (box.textFormat() == Qt::AutoText && !Qt::mightBeRichText(box.text()));
    return (plain ? box.text() : QTextDocumentFragment::fromHtml(box.text()).toPlainText()).toStdString();
  }
  static Icon IconOf(const QMessageBox& box) {
    switch (box.icon()) {
      case QMessageBox::Information: return Icon::Information;
      case QMessageBox::Critical: return Icon::Error;
      default: return Icon::Other;
    }
  }
};

}  // namespace

std::unique_ptr<HostDriver> MakeHostDriver() { return std::make_unique<QtDriver>(); }

}  // namespace ostrel::app::hosts

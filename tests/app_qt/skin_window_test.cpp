// What only the Qt host has (the rest is in tests/app_hosts): the font with the Chinese glyphs,
// labels that show their text as it is, pointer positions between pixels, and the folder
// dialog's title and first folder.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>

#include <filesystem>

#include "app/FSpeedInstall.h"
#include "app/qt/CjkFont.h"
#include "app/qt/SkinWindow.h"
#include "platform/host_path.h"

namespace ostrel::app::qt {
namespace {

class QtWindow : public ::testing::Test {
 protected:
  QtWindow() : form(window) {
    window.Attach(form);
    form.FormShow();
    window.ShowAtFirstPosition();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
  }

  // The pointer moves over the window with no button held.
  void MoveTo(QPointF p) {
    QMouseEvent move(QEvent::MouseMove, p, window.mapToGlobal(p), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &move);
  }

  SkinWindow window;
  TfrmSpeedInstall form;
};

// Positions between pixels belong to the pixel they lie in, up to a control's right edge.
TEST_F(QtWindow, APointerInAButtonsLastColumnIsOverIt) {
  const skin::Box box = form.Form().VisibleBox(form.Form().Get("lblAZ"));
  const double lastColumn = box.Right() - 1 + kFrame, middle = box.top + 10 + kFrame;
  for (auto [x, over] : {std::pair{lastColumn + 0.6, true}, {lastColumn + 1.0, false}, {lastColumn + 0.2, true}}) {
    MoveTo(QPointF(x, middle));
    EXPECT_EQ(form.Form().Get("imgbtn_AZ").picture->Resource(),
              over ? "BTN_LANB200X44_HOVER" : "BTN_LANB200X44_NORMAL") << x;
  }
}

TEST_F(QtWindow, LabelsShowMarkupAsPlainText) {
  const std::string markup = "<font color=\"#ff0000\"><b>红</b></font>";
  form.Form().SetText("lblTS1", markup);
  const skin::Control& label = form.Form().Get("lblTS1");
  EXPECT_EQ(label.box.width, QFontMetrics(CjkFont(12)).horizontalAdvance(QString::fromStdString(markup)));
  const QImage image = window.grab().toImage();
  int red = 0;
  for (int y = label.box.top; y < label.box.Bottom(); ++y)
    for (int x = label.box.left; x < label.box.Right(); ++x) {
      QColor c = image.pixelColor(x + kFrame, y + kFrame);
      if (c.red() > 180 && c.green() < 100 && c.blue() < 100) ++red;
    }
  EXPECT_EQ(red, 0);
}

TEST_F(QtWindow, TheFolderDialogOpensAtTheEditsFolderUnderItsTitle) {
  const std::string start = "C:\\Qt Browse Start";
  std::filesystem::create_directories(platform::HostPath(start));
  QString title, directory;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* dialog = qobject_cast<QFileDialog*>(w); dialog && dialog->isVisible()) {
        poll.stop();
        title = dialog->windowTitle();
        directory = dialog->directory().absolutePath();
        dialog->reject();
        return;
      }
  });
  poll.start(20);
  EXPECT_EQ(window.BrowseForFolder("请选择安装文件夹", start), std::nullopt);
  EXPECT_EQ(title, QString::fromUtf8("请选择安装文件夹"));
  EXPECT_EQ(directory, QDir(QString::fromStdString(platform::HostPath(start))).absolutePath());
}

TEST(CjkFont, HasTheWindowsChineseGlyphs) {
  QFontMetrics metrics(CjkFont(14));
  for (QChar c : QString::fromUtf8("极速安装浏览立即体验返回继续安装全新上线"))
    EXPECT_TRUE(metrics.inFont(c)) << CjkFontFamily().toStdString();
}

}  // namespace
}  // namespace ostrel::app::qt

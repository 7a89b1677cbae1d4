// The Qt host: the window's size, frame and place, the pointer reaching the handlers,
// the edit box, the font, and labels that show their text as it is.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>

#include "app/FSpeedInstall.h"
#include "app/qt/CjkFont.h"
#include "app/qt/SkinWindow.h"

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
  QImage Grab() { return window.grab().toImage(); }
  // The centre of a control, in window pixels.
  QPoint CentreOf(std::string_view name) {
    skin::Box b = form.Form().VisibleBox(form.Form().Get(name));
    return {b.left + b.width / 2 + kFrame, b.top + b.height / 2 + kFrame};
  }

  // The pointer moves over the window with no button held.
  void MoveTo(QPointF p) {
    QMouseEvent move(QEvent::MouseMove, p, window.mapToGlobal(p), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &move);
  }

  SkinWindow window;
  TfrmSpeedInstall form;
};

TEST_F(QtWindow, FramelessWithItsSilverFrameAtTheCentre) {
  EXPECT_EQ(window.size(), QSize(642, 482));
  EXPECT_TRUE(window.windowFlags() & Qt::FramelessWindowHint);
  EXPECT_EQ(window.windowTitle(), QString::fromUtf8("极速安装"));
  QImage image = Grab();
  for (QPoint p : {QPoint(0, 0), QPoint(641, 481), QPoint(320, 0), QPoint(0, 240)})
    EXPECT_EQ(image.pixelColor(p), QColor(0xC0, 0xC0, 0xC0)) << p.x() << "," << p.y();
  EXPECT_NE(image.pixelColor(1, 1), QColor(0xC0, 0xC0, 0xC0));
  QRect screen = QGuiApplication::primaryScreen()->virtualGeometry();
  EXPECT_EQ(window.pos(), QPoint(std::max(0, (screen.width() - 642) / 2), std::max(0, (screen.height() - 482) / 2)));
}

TEST_F(QtWindow, AClickAtALabelsCentreReachesItsHandler) {
  MoveTo(CentreOf("lblAZ"));
  QTest::mousePress(&window, Qt::RightButton, {}, CentreOf("lblAZ"));
  EXPECT_EQ(form.Form().Get("imgbtn_AZ").picture->Resource(), "BTN_LANB200X44_DOWN");
  QTest::mouseRelease(&window, Qt::RightButton, {}, CentreOf("lblAZ"));
  EXPECT_EQ(form.Form().Get("imgbtn_AZ").picture->Resource(), "BTN_LANB200X44_NORMAL");
  EXPECT_TRUE(window.isVisible());
  QTest::mouseClick(&window, Qt::LeftButton, {}, CentreOf("lblClose"));
  EXPECT_FALSE(window.isVisible()) << "lblCloseClick closes the window";
}

TEST_F(QtWindow, HandPointerOverTheButtons) {
  MoveTo(CentreOf("lblAZ"));
  EXPECT_EQ(window.cursor().shape(), Qt::PointingHandCursor);
  EXPECT_EQ(form.Form().Get("imgbtn_AZ").picture->Resource(), "BTN_LANB200X44_HOVER");
  MoveTo(QPoint(30, 300));
  EXPECT_EQ(window.cursor().shape(), Qt::ArrowCursor);
}

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

TEST_F(QtWindow, TheEditBoxLiesOverEdtAZLJOnTheFolderPageOnly) {
  QLineEdit* edit = window.EditBox();
  EXPECT_FALSE(edit->isVisible());
  form.ShowMainPage(kPageSZ);
  EXPECT_TRUE(edit->isVisible());
  EXPECT_EQ(edit->geometry(), QRect(175, 304, 292, 20));
  EXPECT_FALSE(edit->hasFrame());
  QTest::keyClicks(edit, "D:\\Tax");
  EXPECT_EQ(form.Form().Get("edtAZLJ").text, "D:\\Tax");
  form.Form().SetText("edtAZLJ", "C:\\OstrelPlatform");
  EXPECT_EQ(edit->text(), QString("C:\\OstrelPlatform"));
}

TEST_F(QtWindow, LabelsShowMarkupAsPlainText) {
  const std::string markup = "<font color=\"#ff0000\"><b>红</b></font>";
  form.Form().SetText("lblTS1", markup);
  const skin::Control& label = form.Form().Get("lblTS1");
  EXPECT_EQ(label.box.width, QFontMetrics(CjkFont(12)).horizontalAdvance(QString::fromStdString(markup)));
  QImage image = Grab();
  int red = 0;
  for (int y = label.box.top; y < label.box.Bottom(); ++y)
    for (int x = label.box.left; x < label.box.Right(); ++x) {
      QColor c = image.pixelColor(x + kFrame, y + kFrame);
      if (c.red() > 180 && c.green() < 100 && c.blue() < 100) ++red;
    }
  EXPECT_EQ(red, 0);
}

TEST_F(QtWindow, TheStartPagePictureMovesByItself) {
  EXPECT_TRUE(QTest::qWaitFor([&] { return form.Form().Get("imgBg1").shownFrame > 0; }, 10000));
  form.ShowMainPage(kPageSZ);
  EXPECT_EQ(form.Form().AdvanceAnimations(), -1) << "nothing to animate on the folder page";
}

TEST(CjkFont, HasTheWindowsChineseGlyphs) {
  QFontMetrics metrics(CjkFont(14));
  for (QChar c : QString::fromUtf8("极速安装浏览立即体验返回继续安装全新上线"))
    EXPECT_TRUE(metrics.inFont(c)) << CjkFontFamily().toStdString();
}

}  // namespace
}  // namespace ostrel::app::qt

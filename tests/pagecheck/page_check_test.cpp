// Telling a real window's page by ostrel-screens' pictures: each page is its own and no
// other; only pixels outside the texts, the edit box, the progress trough and the animation
// count; the frame must be silver; the progress fill's width; an area of Xvfb's screen file.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QPainter>

#include <cstdlib>
#include <memory>
#include <string>

#include "tests/testkit/temp_dir.h"
#include "tools/pagecheck/frame_buffer.h"
#include "tools/pagecheck/page_compare.h"
#include "tools/pagecheck/page_regions.h"

namespace {

using namespace ostrel::pagecheck;

class PageCheck : public ::testing::Test {
 protected:
  // The pictures once for all cases; servers that refuse at once, so no version is read.
  static void SetUpTestSuite() {
    dir_ = std::make_unique<testkit::TempDir>();
    const std::string out = dir_->path().string();
    const std::string command = "env OSTREL_PREFIX=" + out + "/prefix OSTREL_DOWNLOAD_SERVER=http://127.0.0.1:9/ "
                                "OSTREL_WEB_SERVER=http://127.0.0.1:9/ OSTREL_WEB_SERVER_ALT=http://127.0.0.1:9/ " +
                                std::string(OSTREL_SCREENS_EXE) + " " + out + "/screens >/dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0);
  }
  static void TearDownTestSuite() { dir_.reset(); }
  static QString Screens() { return QString::fromStdString((dir_->path() / "screens").string()); }
  static QImage Picture(const char* name) { return QImage(Screens() + "/" + name).convertToFormat(QImage::Format_RGB32); }
  static int Differing(const QImage& content, const char* page) {
    return ComparePage(content, *FindPage(page), Screens()).differing;
  }
  static inline std::unique_ptr<testkit::TempDir> dir_;
};

TEST_F(PageCheck, EachPageIsItsOwnPictureAndNoOther) {
  for (const PageSpec& page : Pages()) {
    const QImage own = Picture(page.references.front().toLatin1().constData());
    for (const PageSpec& other : Pages()) {
      if (&other == &page) EXPECT_EQ(Differing(own, other.name), 0) << page.name;
      else EXPECT_GE(Differing(own, other.name), kSamePageLimit) << page.name << " as " << other.name;
    }
  }
}

TEST_F(PageCheck, OnlyPixelsOutsideTextsEditTroughAndAnimationCount) {
  struct Case { const char* page; int x, y; int counted; };
  for (const Case& c : {Case{"SZ", 10, 150, 1}, Case{"SZ", 320, 413, 0} /* "立即安装" */,
                        Case{"SZ", 200, 313, 0} /* the edit box */, Case{"SZ", 320, 395, 1} /* above the text */,
                        Case{"AZ", 300, 250, 0} /* the animation */, Case{"XZ", 300, 436, 0} /* the trough */}) {
    QImage shot = Picture((std::string(c.page) + ".png").c_str());
    shot.setPixel(c.x, c.y, qRgb(0, 0, 0));
    EXPECT_EQ(Differing(shot, c.page), c.counted) << c.page << " " << c.x << "," << c.y;
  }
}

TEST_F(PageCheck, AWindowShotsFrameMustBeSilver) {
  QImage shot(642, 482, QImage::Format_RGB32);
  shot.fill(qRgb(0xC0, 0xC0, 0xC0));
  QPainter(&shot).drawImage(1, 1, Picture("WC.png"));
  EXPECT_EQ(Differing(Content(shot), "WC"), 0);
  EXPECT_EQ(FrameDiffering(shot), 0);
  shot.setPixel(641, 300, qRgb(0xFF, 0xFF, 0xFF));
  EXPECT_EQ(FrameDiffering(shot), 1);
}

TEST_F(PageCheck, TheFillIsReadFromTheTroughsLeftEdge) {
  QImage shot = Picture("XZ.png");
  EXPECT_EQ(FillWidth(shot), 0);
  const ostrel::skin::Box trough = ControlBox("pnlJD");
  QPainter(&shot).fillRect(trough.left, trough.top, 290, trough.height, QColor(0x5D, 0x9E, 0xF5));
  EXPECT_EQ(FillWidth(shot), 290);
}

// An XWD screen of 4 x 3 pixels, 32 bits each, least significant byte first.
TEST(ScreenFile, AnAreaIsReadAndOtherFormatsAreRefused) {
  testkit::TempDir dir;
  const QString path = QString::fromStdString((dir / "Xvfb_screen0").string());
  auto write = [&](uint32_t bitsPerPixel) {
    QByteArray bytes;
    const uint32_t header[25] = {100, 7, 2, 24, 4, 3, 0, 0, 32, 0, 32, bitsPerPixel, 16};
    for (uint32_t field : header)
      for (int shift = 24; shift >= 0; shift -= 8) bytes.append(char(field >> shift));
    for (int i = 0; i < 12; ++i) bytes.append(char(i)).append(char(0x10)).append(char(0x20)).append(char(0));
    QFile out(path);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(bytes);
  };
  write(32);
  QString reason;
  const QImage area = ReadScreenArea(path, 1, 1, 2, 5, &reason);
  ASSERT_EQ(area.size(), QSize(2, 2)) << reason.toStdString();
  EXPECT_EQ(area.pixel(0, 0), qRgb(0x20, 0x10, 5));  // pixel 5: blue 5, green 0x10, red 0x20
  EXPECT_EQ(area.pixel(1, 1), qRgb(0x20, 0x10, 10));
  write(16);
  EXPECT_TRUE(ReadScreenArea(path, 0, 0, 4, 3, &reason).isNull());
  EXPECT_NE(reason.indexOf("32-bit"), -1);
}

}  // namespace

// ostrel-pagecheck: reads a real installer window off a virtual display and tells its page.
//
//   ostrel-pagecheck where CONTROL                  the control's centre, "X Y" in content pixels
//   ostrel-pagecheck shot FRAMEBUFFER X Y W H OUT   the screen area (Xvfb's XWD file) as a PNG
//   ostrel-pagecheck which SHOT REFDIR              the page the shot shows (AZ, SZ, XZ, WC), or "none"
//   ostrel-pagecheck compare PAGE SHOT REFDIR [MARKED]
//                     "N REFERENCE": N pixels differ from the closest of ostrel-screens'
//                     pictures of PAGE outside its texts, edit box, progress trough and animation,
//                     or (in a window shot) are not silver in the 1-pixel frame
//   ostrel-pagecheck fill SHOT                      the progress fill's width in pixels
//
// SHOT is a 642 x 482 window (with its frame) or its 640 x 480 content; REFDIR is what
// `ostrel-screens REFDIR` wrote. Exit 0 done, 1 failed, 2 usage.
#include <QImage>
#include <QString>

#include <cstdio>
#include <string>

#include "tools/pagecheck/frame_buffer.h"
#include "tools/pagecheck/page_compare.h"
#include "tools/pagecheck/page_regions.h"

namespace {

using namespace ostrel::pagecheck;

int Usage() {
  std::fprintf(stderr,
               "usage: ostrel-pagecheck where CONTROL | shot FRAMEBUFFER X Y W H OUT | which SHOT REFDIR |\n"
               "       compare PAGE SHOT REFDIR [MARKED] | fill SHOT\n");
  return 2;
}

int Fail(const QString& reason) {
  std::fprintf(stderr, "ostrel-pagecheck: %s\n", reason.toLocal8Bit().constData());
  return 1;
}

QString Arg(char** argv, int i) { return QString::fromLocal8Bit(argv[i]); }

bool LoadContent(const QString& file, QImage* content) {
  *content = Content(QImage(file));
  return content->width() == ostrel::skin::kContentWidth && content->height() == ostrel::skin::kContentHeight;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return Usage();
  const std::string command = argv[1];
  if (command == "where" && argc == 3) {
    const ostrel::skin::Box box = ControlBox(argv[2]);
    if (box.Empty()) return Fail("no control " + Arg(argv, 2));
    std::printf("%d %d\n", box.left + box.width / 2, box.top + box.height / 2);
    return 0;
  }
  if (command == "shot" && argc == 8) {
    QString reason;
    const QImage area = ReadScreenArea(Arg(argv, 2), Arg(argv, 3).toInt(), Arg(argv, 4).toInt(),
                                       Arg(argv, 5).toInt(), Arg(argv, 6).toInt(), &reason);
    if (area.isNull()) return Fail(reason);
    return area.save(Arg(argv, 7), "PNG") ? 0 : Fail("can't write " + Arg(argv, 7));
  }
  QImage content;
  if (command == "fill" && argc == 3) {
    if (!LoadContent(Arg(argv, 2), &content)) return Fail(Arg(argv, 2) + " is no window shot");
    std::printf("%d\n", FillWidth(content));
    return 0;
  }
  if (command == "which" && argc == 4) {
    if (!LoadContent(Arg(argv, 2), &content)) return Fail(Arg(argv, 2) + " is no window shot");
    const char* shown = "none";
    int fewest = kSamePageLimit;
    for (const PageSpec& page : Pages()) {
      const Comparison result = ComparePage(content, page, Arg(argv, 3));
      if (result.differing < 0) return Fail("no pictures of page " + QString(page.name) + " in " + Arg(argv, 3));
      if (result.differing < fewest) fewest = result.differing, shown = page.name;
    }
    std::printf("%s\n", shown);
    return 0;
  }
  if (command == "compare" && (argc == 5 || argc == 6)) {
    const PageSpec* page = FindPage(argv[2]);
    if (!page) return Fail("no page " + Arg(argv, 2));
    if (!LoadContent(Arg(argv, 3), &content)) return Fail(Arg(argv, 3) + " is no window shot");
    const Comparison result = ComparePage(content, *page, Arg(argv, 4));
    if (result.differing < 0) return Fail("no pictures of page " + Arg(argv, 2) + " in " + Arg(argv, 4));
    if (argc == 6 && !result.marked.save(Arg(argv, 5), "PNG")) return Fail("can't write " + Arg(argv, 5));
    const int frame = FrameDiffering(QImage(Arg(argv, 3)));
    std::printf("%d %s\n", result.differing + frame, result.reference.toLocal8Bit().constData());
    return 0;
  }
  return Usage();
}

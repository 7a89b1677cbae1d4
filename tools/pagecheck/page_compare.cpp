#include "tools/pagecheck/page_compare.h"

#include <QDir>

#include <cstdlib>

#include "skin/ControlNames.h"

namespace ostrel::pagecheck {
namespace {

// Channel differences up to this are rounding in the blending of two toolkits.
constexpr int kTolerance = 16;

bool Near(QRgb a, QRgb b) {
  return std::abs(qRed(a) - qRed(b)) <= kTolerance && std::abs(qGreen(a) - qGreen(b)) <= kTolerance &&
         std::abs(qBlue(a) - qBlue(b)) <= kTolerance;
}

int CountDiffering(const QImage& content, const QImage& reference, const std::vector<skin::Box>& ignored,
                   QImage* marked) {
  *marked = content.convertToFormat(QImage::Format_RGB32);
  int differing = 0;
  for (int y = 0; y < content.height(); ++y) {
    for (int x = 0; x < content.width(); ++x) {
      bool left = false;
      for (const skin::Box& box : ignored) left = left || box.Contains(x, y);
      const QRgb seen = content.pixel(x, y);
      if (left) {
        marked->setPixel(x, y, qRgb(qGray(seen) / 2 + 64, qGray(seen) / 2 + 64, qGray(seen) / 2 + 64));
      } else if (!Near(seen, reference.pixel(x, y))) {
        marked->setPixel(x, y, qRgb(255, 0, 255));
        ++differing;
      }
    }
  }
  return differing;
}

}  // namespace

QImage Content(const QImage& shot) {
  if (shot.width() == skin::kContentWidth + 2 && shot.height() == skin::kContentHeight + 2)
    return shot.copy(1, 1, skin::kContentWidth, skin::kContentHeight);
  return shot;
}

int FrameDiffering(const QImage& shot) {
  if (shot.width() != skin::kContentWidth + 2 || shot.height() != skin::kContentHeight + 2) return 0;
  constexpr QRgb kSilver = qRgb(0xC0, 0xC0, 0xC0);
  int differing = 0;
  for (int y = 0; y < shot.height(); ++y)
    for (int x = 0; x < shot.width(); ++x)
      if ((x == 0 || y == 0 || x == shot.width() - 1 || y == shot.height() - 1) && !Near(shot.pixel(x, y), kSilver))
        ++differing;
  return differing;
}

Comparison ComparePage(const QImage& content, const PageSpec& page, const QString& referenceDir) {
  const std::vector<skin::Box> ignored = IgnoredAreas(page);
  Comparison best;
  for (const QString& name : page.references) {
    const QImage reference(QDir(referenceDir).filePath(name));
    if (reference.size() != content.size()) continue;
    Comparison next;
    next.reference = name;
    next.differing = CountDiffering(content, reference.convertToFormat(QImage::Format_RGB32), ignored, &next.marked);
    if (best.differing < 0 || next.differing < best.differing) best = next;
  }
  return best;
}

int FillWidth(const QImage& content) {
  constexpr QRgb kFill = qRgb(0x5D, 0x9E, 0xF5);
  const skin::Box trough = ControlBox(skin::ctl::pnlJD);
  const int y = trough.top + trough.height / 2;
  int width = 0;
  while (width < trough.width && trough.left + width < content.width() && y < content.height() &&
         Near(content.pixel(trough.left + width, y), kFill))
    ++width;
  return width;
}

}  // namespace ostrel::pagecheck

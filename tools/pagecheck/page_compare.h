// A real window's page against ostrel-screens' pictures of it: the pixels that differ
// outside the areas a comparison leaves out (texts, the edit box, the progress trough, the
// animation).
#pragma once

#include <QImage>
#include <QString>

#include "tools/pagecheck/page_regions.h"

namespace ostrel::pagecheck {

// A page counts as shown when fewer pixels than this differ outside the left-out areas.
inline constexpr int kSamePageLimit = 500;

// The 640 x 480 content of a shot: a 642 x 482 window shot loses its 1-pixel frame.
QImage Content(const QImage& shot);

// The pixels of a 642 x 482 window shot's frame that are not the window colour (silver).
int FrameDiffering(const QImage& shot);

struct Comparison {
  int differing = -1;   // pixels; -1 when no reference could be read
  QString reference;    // the reference that came closest
  QImage marked;        // the content, left-out areas greyed, differing pixels magenta
};

// Against each of the page's references in referenceDir; the closest one counts.
Comparison ComparePage(const QImage& content, const PageSpec& page, const QString& referenceDir);

// The width of the progress fill in the content, in pixels from the trough's left edge.
int FillWidth(const QImage& content);

}  // namespace ostrel::pagecheck

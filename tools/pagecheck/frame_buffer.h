// The screen of a virtual display as Xvfb keeps it in a file (-fbdir DIR: DIR/Xvfb_screen0,
// in XWD format), so that a window can be read with no X client and no screenshot program.
#pragma once

#include <QImage>
#include <QString>

namespace ostrel::pagecheck {

// The rectangle (left, top, width, height) of the screen, clipped to it. A null image and
// a reason when the file is no 32-bit XWD screen.
QImage ReadScreenArea(const QString& file, int left, int top, int width, int height, QString* reason);

}  // namespace ostrel::pagecheck

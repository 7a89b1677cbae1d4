// Writes an animation as a looping GIF89a: one global colour table of 256 entries (255 colours
// and index 255 as the transparent colour), the first frame over the whole picture and every
// further frame over one fixed region, each frame shown for the same delay and kept in place
// under the next (disposal method 1).
#pragma once

#include <QImage>
#include <QRect>
#include <string>
#include <vector>

namespace ostrel::artgen {

struct Animation {
  std::vector<QImage> frames;  // all of the picture's full size
  QRect changingRegion;        // where frames after the first differ from the first
  int delayHundredths = 4;
};

inline constexpr unsigned char kTransparentIndex = 255;

// Returns an empty text on success, otherwise the reason.
std::string WriteGif(const Animation& animation, const std::string& path);

}  // namespace ostrel::artgen

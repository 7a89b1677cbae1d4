// One colour table for a whole animation: median cut over the colours of every frame,
// then each pixel mapped to its nearest table colour.
#pragma once

#include <QImage>
#include <QList>
#include <QRgb>
#include <unordered_map>
#include <vector>

namespace ostrel::artgen {

class Palette {
 public:
  // Builds at most maxColours colours from the opaque pixels of all frames.
  Palette(const std::vector<QImage>& frames, int maxColours);

  const std::vector<QRgb>& Colours() const { return colours_; }

  // The index of the table colour nearest to the pixel's colour.
  unsigned char IndexOf(QRgb pixel);

 private:
  std::vector<QRgb> colours_;
  std::unordered_map<QRgb, unsigned char> nearest_;
};

}  // namespace ostrel::artgen

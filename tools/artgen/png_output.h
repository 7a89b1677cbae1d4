// Writes a picture as a PNG file: truecolour with alpha, 8 bits per channel, not interlaced.
#pragma once

#include <QImage>
#include <string>

namespace ostrel::artgen {

// Returns an empty text on success, otherwise the reason.
std::string writePng(const QImage& picture, const std::string& path);

}  // namespace ostrel::artgen

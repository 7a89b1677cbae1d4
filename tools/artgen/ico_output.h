// Writes an icon file (.ico) from pictures of several sizes: those under 256 pixels as 32-bit
// bitmaps with an AND mask (readable on every Windows), a 256-pixel one as PNG.
#pragma once

#include <QImage>
#include <string>
#include <vector>

namespace ostrel::artgen {

// Returns an empty text on success, otherwise the reason.
std::string WriteIco(const std::vector<QImage>& sizes, const std::string& path);

}  // namespace ostrel::artgen

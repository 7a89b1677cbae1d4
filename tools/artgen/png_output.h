// Writes a picture as a PNG file: truecolour with alpha, 8 bits per channel, not interlaced.
#pragma once

#include <QImage>
#include <string>
#include <vector>

namespace ostrel::artgen {

// Returns an empty text on success, otherwise the reason.
std::string WritePng(const QImage& picture, const std::string& path);

// The same PNG as bytes in memory (an icon's large entry); false when libpng refuses the picture.
bool EncodePng(const QImage& picture, std::vector<unsigned char>& out);

}  // namespace ostrel::artgen

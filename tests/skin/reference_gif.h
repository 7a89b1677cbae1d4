// Every frame of a GIF decoded at once with DGifSlurp and composed from a blank picture, as a
// reference for the frames that the window composes one by one when they are due.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "skin/RgbaImage.h"

namespace ostrel::skin::test {

// Empty when giflib can't read the bytes.
std::vector<RgbaImage> AllFramesAtOnce(std::span<const uint8_t> bytes);

}  // namespace ostrel::skin::test

// PNG bytes to an RGBA picture, through libpng.
#pragma once

#include <cstdint>
#include <span>

#include "skin/RgbaImage.h"

namespace ostrel::skin {

// Throws SkinError with libpng's message when the bytes are no PNG it can read.
RgbaImage DecodePng(std::span<const uint8_t> bytes);

}  // namespace ostrel::skin

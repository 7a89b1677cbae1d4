// Which frame of an animation is on show a given time after it started.
#pragma once

#include <cstdint>

#include "skin/GifDecode.h"

namespace ostrel::skin {

// Frames follow each other with their own delays; the sequence repeats for ever when the
// loop count is 0, plays loopCount times otherwise (once without a loop count) and then
// stays on the last frame. Frames with no delay are passed over at once.
int FrameIndexAt(const GifAnimation& gif, int64_t elapsedMs);

// Milliseconds from elapsedMs until the frame on show changes; -1 when it never does.
int64_t MsUntilNextFrame(const GifAnimation& gif, int64_t elapsedMs);

}  // namespace ostrel::skin

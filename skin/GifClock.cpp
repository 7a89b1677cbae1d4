#include "skin/GifClock.h"

namespace ostrel::skin {
namespace {

int64_t CycleMs(const GifAnimation& gif) {
  int64_t total = 0;
  for (const GifFrame& f : gif.frames) total += f.delayMs;
  return total;
}

int64_t PlayCount(const GifAnimation& gif) { return gif.loopCount > 0 ? gif.loopCount : 1; }

// The frame on show and when it ends, both within the whole play time.
struct Position {
  int index;
  int64_t endsAt;  // -1: never
};

Position PositionAt(const GifAnimation& gif, int64_t elapsed) {
  const int last = static_cast<int>(gif.frames.size()) - 1;
  const int64_t cycle = CycleMs(gif);
  if (last <= 0 || cycle <= 0) return {0, -1};
  if (elapsed < 0) elapsed = 0;
  if (gif.loopCount != 0 && elapsed >= cycle * PlayCount(gif)) return {last, -1};
  const int64_t cycleStart = elapsed - elapsed % cycle;
  int64_t t = cycleStart;
  for (int i = 0; i <= last; ++i) {
    t += gif.frames[i].delayMs;
    if (elapsed < t) return {i, t};
  }
  return {last, -1};
}

}  // namespace

int FrameIndexAt(const GifAnimation& gif, int64_t elapsedMs) { return PositionAt(gif, elapsedMs).index; }

int64_t MsUntilNextFrame(const GifAnimation& gif, int64_t elapsedMs) {
  Position p = PositionAt(gif, elapsedMs);
  return p.endsAt < 0 ? -1 : p.endsAt - std::max<int64_t>(elapsedMs, 0);
}

}  // namespace ostrel::skin

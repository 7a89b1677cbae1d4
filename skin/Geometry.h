// Boxes and colours of the window, in pixels of the 640 x 480 content.
#pragma once

#include <algorithm>
#include <cstdint>

namespace ostrel::skin {

struct Box {
  int left = 0, top = 0, width = 0, height = 0;

  int Right() const { return left + width; }
  int Bottom() const { return top + height; }
  bool Empty() const { return width <= 0 || height <= 0; }
  bool Contains(int x, int y) const { return x >= left && x < Right() && y >= top && y < Bottom(); }
  Box Moved(int dx, int dy) const { return {left + dx, top + dy, width, height}; }
  Box Intersect(const Box& o) const {
    int l = std::max(left, o.left), t = std::max(top, o.top);
    int r = std::min(Right(), o.Right()), b = std::min(Bottom(), o.Bottom());
    return {l, t, std::max(0, r - l), std::max(0, b - t)};
  }
  Box Unite(const Box& o) const {
    if (Empty()) return o;
    if (o.Empty()) return *this;
    int l = std::min(left, o.left), t = std::min(top, o.top);
    return {l, t, std::max(Right(), o.Right()) - l, std::max(Bottom(), o.Bottom()) - t};
  }
  bool operator==(const Box&) const = default;
};

// A colour as 0xRRGGBB.
struct Rgb {
  uint32_t value = 0;

  uint8_t Red() const { return static_cast<uint8_t>(value >> 16); }
  uint8_t Green() const { return static_cast<uint8_t>(value >> 8); }
  uint8_t Blue() const { return static_cast<uint8_t>(value); }
  // The same colour as a Windows colour value (blue, green, red from the high byte down).
  uint32_t AsBgr() const { return (uint32_t{Blue()} << 16) | (uint32_t{Green()} << 8) | Red(); }
  bool operator==(const Rgb&) const = default;
};

constexpr int kContentWidth = 640;
constexpr int kContentHeight = 480;

}  // namespace ostrel::skin

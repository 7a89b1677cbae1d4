// What the form needs of a toolkit's painter. Boxes are in content pixels; `clip` limits
// every drawing.
#pragma once

#include <string_view>

#include "skin/FormDescription.h"
#include "skin/Geometry.h"
#include "skin/RgbaImage.h"

namespace ostrel::skin {

struct TextSize {
  int width = 0, height = 0;
};

struct TextStyle {
  int fontHeight = 14;  // character height in pixels (em height)
  Rgb colour;
  TextPlacement placement = TextPlacement::Auto;
};

class TextMeasure {
 public:
  virtual ~TextMeasure() = default;
  // The size of one line of plain text (UTF-8): its advance and the font's line height.
  virtual TextSize MeasureText(std::string_view text, int fontHeight) = 0;
};

class Canvas : public TextMeasure {
 public:
  // The picture at its natural size with its top-left corner at (left, top),
  // composited over what is there with its alpha.
  virtual void DrawImage(const RgbaImage& image, int left, int top, const Box& clip) = 0;
  virtual void FillRect(const Box& box, Rgb colour, const Box& clip) = 0;
  // One line of plain text placed in `box` as the style says; markup is never interpreted.
  virtual void PaintText(std::string_view text, const Box& box, const TextStyle& style, const Box& clip) = 0;
};

}  // namespace ostrel::skin

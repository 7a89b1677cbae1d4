// The form's Canvas over a QPainter. Texts are drawn as plain text.
#pragma once

#include <QPainter>

#include "skin/Canvas.h"

namespace ostrel::app::qt {

class QtCanvas : public skin::Canvas {
 public:
  explicit QtCanvas(QPainter* painter = nullptr) : painter_(painter) {}
  void SetPainter(QPainter* painter) { painter_ = painter; }

  skin::TextSize MeasureText(std::string_view text, int fontHeight) override;
  void DrawImage(const skin::RgbaImage& image, int left, int top, const skin::Box& clip) override;
  void FillRect(const skin::Box& box, skin::Rgb colour, const skin::Box& clip) override;
  void PaintText(std::string_view text, const skin::Box& box, const skin::TextStyle& style,
                const skin::Box& clip) override;

 private:
  QPainter* painter_;
};

}  // namespace ostrel::app::qt

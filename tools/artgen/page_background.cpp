#include "tools/artgen/page_background.h"

#include <QPainterPath>
#include <cmath>
#include <numbers>

#include "tools/artgen/canvas.h"
#include "tools/artgen/pictures.h"

namespace ostrel::artgen {

namespace {

// A band from a sine-shaped top edge down to the bottom of the page.
QPainterPath Wave(qreal baseline, qreal amplitude, qreal wavelength, qreal phase) {
  QPainterPath band;
  band.moveTo(0, 480);
  for (int x = 0; x <= 640; x += 4) {
    const qreal angle = 2 * std::numbers::pi * (x / wavelength) + phase;
    band.lineTo(x, baseline + amplitude * std::sin(angle));
  }
  band.lineTo(640, 480);
  band.closeSubpath();
  return band;
}

}  // namespace

void PaintPageGround(QPainter& painter) {
  painter.save();
  Smooth(painter);
  painter.fillRect(QRect(0, 0, 640, 480), Rgb(0xFFFFFF));
  struct Layer {
    qreal baseline, amplitude, wavelength, phase;
    unsigned colour;
    int alpha;
  };
  const Layer layers[] = {
      {402, 14, 700, 0.6, 0xEEF4FF, 255},
      {424, 12, 520, 2.4, 0xDCE8FF, 150},
      {446, 10, 610, 4.1, 0xC9DCFF, 120},
  };
  // Flat, partly transparent layers: where they overlap the blue deepens towards the bottom.
  for (const Layer& l : layers) {
    painter.fillPath(Wave(l.baseline, l.amplitude, l.wavelength, l.phase), Rgb(l.colour, l.alpha));
  }
  painter.restore();
}

QImage PageBackground() {
  QImage picture = BlankPicture(640, 480);
  QPainter painter(&picture);
  PaintPageGround(painter);
  return picture;
}

}  // namespace ostrel::artgen

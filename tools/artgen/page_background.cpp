#include "tools/artgen/page_background.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <cmath>
#include <numbers>

#include "tools/artgen/canvas.h"
#include "tools/artgen/pictures.h"

namespace ostrel::artgen {

namespace {

// A band from a sine-shaped top edge down to the bottom of the page.
QPainterPath wave(qreal baseline, qreal amplitude, qreal wavelength, qreal phase) {
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

void paintPageGround(QPainter& painter) {
  painter.save();
  smooth(painter);
  painter.fillRect(QRect(0, 0, 640, 480), rgb(0xFFFFFF));
  struct Layer {
    qreal baseline, amplitude, wavelength, phase;
    unsigned colour;
    int alpha;
  };
  const Layer layers[] = {
      {402, 14, 700, 0.6, 0xE9F1FF, 255},
      {424, 12, 520, 2.4, 0xDDE9FF, 190},
      {446, 10, 610, 4.1, 0xCFE0FF, 150},
  };
  for (const Layer& l : layers) {
    QLinearGradient shade(0, l.baseline - l.amplitude, 0, 480);
    shade.setColorAt(0, rgb(l.colour, l.alpha));
    shade.setColorAt(1, rgb(l.colour, l.alpha / 2 + 40));
    painter.fillPath(wave(l.baseline, l.amplitude, l.wavelength, l.phase), shade);
  }
  painter.restore();
}

QImage pageBackground() {
  QImage picture = blankPicture(640, 480);
  QPainter painter(&picture);
  paintPageGround(painter);
  return picture;
}

}  // namespace ostrel::artgen

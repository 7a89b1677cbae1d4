#include "tools/screens/page_renderer.h"

#include <QPainter>

namespace ostrel::screens {

PageRenderer::PageRenderer() : window_(host_) {
  window_.Form().SetClock([] { return int64_t{0}; });
  window_.Form().SetTextMeasure(&measure_);
  window_.FormShow();
}

QImage PageRenderer::Render() {
  QImage image(skin::kContentWidth, skin::kContentHeight, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::white);
  QPainter painter(&image);
  app::qt::QtCanvas canvas(&painter);
  window_.Form().Paint(canvas);
  painter.end();
  return image;
}

}  // namespace ostrel::screens

// The start page's animated picture: the page ground with the fast-install illustration.
#include "tools/artgen/canvas.h"
#include "tools/artgen/page_background.h"
#include "tools/artgen/pictures.h"
#include "tools/artgen/start_scene.h"

namespace ostrel::artgen {

Animation StartAnimation() {
  constexpr int kFrames = 48;
  Animation animation;
  animation.changingRegion = kSceneRegion;
  animation.delayHundredths = 4;
  for (int i = 0; i < kFrames; ++i) {
    QImage frame = BlankPicture(640, 480);
    QPainter painter(&frame);
    PaintPageGround(painter);
    PaintStartScene(painter, double(i) / kFrames);
    painter.end();
    animation.frames.push_back(frame);
  }
  return animation;
}

}  // namespace ostrel::artgen

// The white page ground with pale blue waves along the bottom, shared by the folder and done
// pages and the first frame of the start page's animation.
#pragma once

#include <QPainter>

namespace ostrel::artgen {

void PaintPageGround(QPainter& painter);

}  // namespace ostrel::artgen

// Every picture of the installer window, drawn from code.
#pragma once

#include <QImage>

#include "tools/artgen/gif_output.h"

namespace ostrel::artgen {

// Buttons, close crosses, the folder field's frame and the edition badge (controls.cpp).
QImage blueButton(unsigned fill);                    // 200 x 44
QImage whiteButton(unsigned fill, unsigned border);  // 90 x 36
QImage closeCross(unsigned colour);                  // 16 x 16, for white ground
QImage smallCloseCross(unsigned colour, int alpha);  // 10 x 10, for blue ground
QImage inputFrame();                                 // 300 x 36
QImage editionBadge();                               // 58 x 20

// Round marks (marks.cpp).
QImage productLogo();     // 90 x 90
QImage completionMark();  // 44 x 44
QImage programIcon(int side);  // side x side: the program's icon

// Page background: white with pale blue waves along the bottom (page_background.cpp).
QImage pageBackground();  // 640 x 480

// The installing page's three feature slides (slide_*.cpp).
QImage declarationSlide();  // 640 x 480
QImage invoiceSlide();      // 640 x 480
QImage accountsSlide();     // 640 x 480

// The start page's animated picture (start_animation.cpp).
Animation startAnimation();  // 48 frames of 640 x 480

}  // namespace ostrel::artgen

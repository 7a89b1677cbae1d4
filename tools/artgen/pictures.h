// Every picture of the installer window, drawn from code.
#pragma once

#include <QImage>

#include "tools/artgen/gif_output.h"

namespace ostrel::artgen {

// Buttons, close crosses, the folder field's frame and the edition badge (controls.cpp).
QImage BlueButton(unsigned fill);                    // 200 x 44
QImage WhiteButton(unsigned fill, unsigned border);  // 90 x 36
QImage CloseCross(unsigned colour);                  // 16 x 16, for white ground
QImage SmallCloseCross(unsigned colour, int alpha);  // 10 x 10, for blue ground
QImage InputFrame();                                 // 300 x 36
QImage EditionBadge();                               // 58 x 20

// Round marks (marks.cpp).
QImage ProductLogo();     // 90 x 90
QImage CompletionMark();  // 44 x 44
QImage ProgramIcon(int side);  // side x side: the program's icon

// Page background: white with pale blue waves along the bottom (page_background.cpp).
QImage PageBackground();  // 640 x 480

// The installing page's three feature slides (slide_*.cpp).
QImage DeclarationSlide();  // 640 x 480
QImage InvoiceSlide();      // 640 x 480
QImage AccountsSlide();     // 640 x 480

// The start page's animated picture (start_animation.cpp).
Animation StartAnimation();  // 48 frames of 640 x 480

}  // namespace ostrel::artgen

// Parts shared by the three feature slides: the blue ground with its headline, and the frame of
// a product window that each slide fills with its own screen.
#pragma once

#include <QImage>
#include <QPainter>
#include <QRectF>
#include <QString>

namespace ostrel::artgen {

// Colours inside the product screenshots.
inline constexpr unsigned kInk = 0xC9D3E3;      // stand-in text lines
inline constexpr unsigned kInkDark = 0x9AA8BF;  // stand-in headings
inline constexpr unsigned kRule = 0xE8EDF5;     // table lines, borders
inline constexpr unsigned kPanel = 0xF4F7FC;    // side bars, table heads
inline constexpr unsigned kPale = 0xEAF2FF;     // selected rows

// A 640 x 480 slide: blue ground, faint rings, the headline and a line below it.
QImage SlideGround(const QString& headline, const QString& subline);

// Draws a product window (shadow, white body, title bar) and returns the area below the title bar.
QRectF ProductWindow(QPainter& painter, const QRectF& frame, const QString& title);

// A column of menu entries (icon dot and text bar); the entry `selected` is highlighted.
void MenuColumn(QPainter& painter, const QRectF& area, int entries, int selected);

// A floating card with a soft shadow over the window.
void FloatingCard(QPainter& painter, const QRectF& box);

}  // namespace ostrel::artgen

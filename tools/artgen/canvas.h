// Shared drawing helpers of the artwork generator: blank pictures, colours, fonts and the
// small shapes every picture is made of (bars, rounded boxes, discs).
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QRectF>

namespace ostrel::artgen {

// Colours of the installer's flat white/blue look.
inline constexpr unsigned kSlideBlue = 0x3B85FF;
inline constexpr unsigned kButtonBlue = 0x2E7BFB;
inline constexpr unsigned kLogoBlue = 0x3A5EE8;
inline constexpr unsigned kGreen = 0x30CA66;
inline constexpr unsigned kOrange = 0xFFA53A;

QColor Rgb(unsigned hex, int alpha = 255);

// A transparent picture of the given size, ready for a premultiplied painter.
QImage BlankPicture(int width, int height, QColor ground = Qt::transparent);

// Turns antialiasing on for shapes, text and scaled pictures.
void Smooth(QPainter& painter);

// The Chinese user-interface font, found by family name through fontconfig fallback.
QFont UiFont(int pixelSize, bool bold = false);

// A filled box with rounded corners, no outline.
void FillRounded(QPainter& painter, const QRectF& box, qreal radius, QColor fill);

// A box with a 1-pixel outline on whole pixels: fill inside, border along the edge.
void OutlinedRounded(QPainter& painter, const QRect& box, qreal radius, QColor fill, QColor border);

// A pill-shaped bar (radius = half the height), as a stand-in for a line of text.
void Bar(QPainter& painter, qreal x, qreal y, qreal width, qreal height, QColor fill);

// A filled circle around a centre.
void Disc(QPainter& painter, QPointF centre, qreal radius, QColor fill);

// A text drawn in a box with the given alignment.
void Text(QPainter& painter, const QRectF& box, const QString& words, const QFont& font,
          QColor colour, int alignment = Qt::AlignCenter);

// A check mark inside a square box, stroked with round ends.
void CheckMark(QPainter& painter, const QRectF& box, qreal strokeWidth, QColor colour);

}  // namespace ostrel::artgen

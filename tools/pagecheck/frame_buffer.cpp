#include "tools/pagecheck/frame_buffer.h"

#include <QFile>

#include <cstdint>

namespace ostrel::pagecheck {
namespace {

// XWD header fields are 32-bit, most significant byte first.
enum Field { kHeaderSize = 0, kWidth = 4, kHeight = 5, kByteOrder = 7, kBitsPerPixel = 11, kBytesPerLine = 12,
             kColours = 19, kFieldCount = 25 };

uint32_t FieldAt(const QByteArray& bytes, int field) {
  uint32_t value = 0;
  for (int i = 0; i < 4; ++i) value = value << 8 | uint8_t(bytes[field * 4 + i]);
  return value;
}

}  // namespace

QImage ReadScreenArea(const QString& file, int left, int top, int width, int height, QString* reason) {
  QFile in(file);
  if (!in.open(QIODevice::ReadOnly)) {
    *reason = "can't read " + file;
    return {};
  }
  const QByteArray bytes = in.readAll();
  if (bytes.size() < kFieldCount * 4) {
    *reason = file + " is too short for an XWD header";
    return {};
  }
  const uint64_t screenWidth = FieldAt(bytes, kWidth), screenHeight = FieldAt(bytes, kHeight);
  const uint64_t perLine = FieldAt(bytes, kBytesPerLine);
  const uint64_t start = uint64_t{FieldAt(bytes, kHeaderSize)} + uint64_t{FieldAt(bytes, kColours)} * 12;
  if (FieldAt(bytes, kBitsPerPixel) != 32 || FieldAt(bytes, kByteOrder) != 0 || perLine < screenWidth * 4 ||
      start + perLine * screenHeight > uint64_t(bytes.size())) {
    *reason = file + " is not a 32-bit screen with its bytes least significant first";
    return {};
  }
  const QRect area = QRect(left, top, width, height).intersected(QRect(0, 0, int(screenWidth), int(screenHeight)));
  if (area.isEmpty()) {
    *reason = "the area lies off the screen";
    return {};
  }
  QImage image(area.size(), QImage::Format_RGB32);
  for (int y = 0; y < area.height(); ++y) {
    const char* row = bytes.constData() + start + perLine * uint64_t(area.top() + y) + uint64_t(area.left()) * 4;
    uint32_t* out = reinterpret_cast<uint32_t*>(image.scanLine(y));
    for (int x = 0; x < area.width(); ++x, row += 4)  // blue, green, red, unused
      out[x] = 0xFF000000u | uint32_t(uint8_t(row[2])) << 16 | uint32_t(uint8_t(row[1])) << 8 | uint8_t(row[0]);
  }
  return image;
}

}  // namespace ostrel::pagecheck

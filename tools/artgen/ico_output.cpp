#include "tools/artgen/ico_output.h"

#include <cstdint>
#include <fstream>

#include "tools/artgen/png_output.h"

namespace ostrel::artgen {
namespace {

using Bytes = std::vector<unsigned char>;

void Put16(Bytes& out, unsigned v) { out.insert(out.end(), {uint8_t(v), uint8_t(v >> 8)}); }
void Put32(Bytes& out, uint32_t v) { out.insert(out.end(), {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)}); }

// A bitmap entry: the header (height doubled for the mask), BGRA rows bottom-up, then the
// 1-bit AND mask (set where the picture is fully transparent), rows padded to 32 bits.
Bytes BitmapEntry(const QImage& rgba) {
  const int w = rgba.width(), h = rgba.height(), maskRow = ((w + 31) / 32) * 4;
  Bytes out;
  Put32(out, 40), Put32(out, uint32_t(w)), Put32(out, uint32_t(2 * h));
  Put16(out, 1), Put16(out, 32);
  Put32(out, 0), Put32(out, uint32_t(w * h * 4 + maskRow * h));
  Put32(out, 0), Put32(out, 0), Put32(out, 0), Put32(out, 0);
  for (int y = h - 1; y >= 0; --y) {
    const uchar* p = rgba.constScanLine(y);
    for (int x = 0; x < w; ++x, p += 4) out.insert(out.end(), {p[2], p[1], p[0], p[3]});
  }
  for (int y = h - 1; y >= 0; --y) {
    Bytes row(size_t(maskRow), 0);
    const uchar* p = rgba.constScanLine(y);
    for (int x = 0; x < w; ++x)
      if (p[x * 4 + 3] == 0) row[size_t(x / 8)] |= uint8_t(0x80 >> (x % 8));
    out.insert(out.end(), row.begin(), row.end());
  }
  return out;
}

}  // namespace

std::string WriteIco(const std::vector<QImage>& sizes, const std::string& path) {
  std::vector<Bytes> entries;
  for (const QImage& picture : sizes) {
    const QImage rgba = picture.convertToFormat(QImage::Format_RGBA8888);
    Bytes entry;
    if (rgba.width() >= 256) {
      if (!EncodePng(rgba, entry)) return "the PNG entry could not be made";
    } else {
      entry = BitmapEntry(rgba);
    }
    entries.push_back(std::move(entry));
  }
  Bytes out;
  Put16(out, 0), Put16(out, 1), Put16(out, unsigned(entries.size()));
  uint32_t offset = uint32_t(6 + 16 * entries.size());
  for (size_t i = 0; i < entries.size(); ++i) {
    const int side = sizes[i].width();
    out.push_back(side >= 256 ? 0 : uint8_t(side));
    out.push_back(side >= 256 ? 0 : uint8_t(sizes[i].height()));
    out.push_back(0), out.push_back(0);
    Put16(out, 1), Put16(out, 32);
    Put32(out, uint32_t(entries[i].size())), Put32(out, offset);
    offset += uint32_t(entries[i].size());
  }
  for (const Bytes& entry : entries) out.insert(out.end(), entry.begin(), entry.end());
  std::ofstream file(path, std::ios::binary);
  file.write(reinterpret_cast<const char*>(out.data()), std::streamsize(out.size()));
  return file.good() ? std::string() : "cannot write the file";
}

}  // namespace ostrel::artgen

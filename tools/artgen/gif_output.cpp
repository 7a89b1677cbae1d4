#include "tools/artgen/gif_output.h"

#include <fcntl.h>
#include <gif_lib.h>
#include <unistd.h>

#include <memory>
#include <string>

#include "tools/artgen/palette.h"

namespace ostrel::artgen {

namespace {

using Indexed = std::vector<unsigned char>;  // one colour index per pixel, rows top to bottom

Indexed IndexFrame(const QImage& frame, Palette& palette) {
  const QImage opaque = frame.convertToFormat(QImage::Format_RGB32);
  Indexed pixels(size_t(opaque.width()) * size_t(opaque.height()));
  for (int y = 0; y < opaque.height(); ++y) {
    const QRgb* row = reinterpret_cast<const QRgb*>(opaque.constScanLine(y));
    for (int x = 0; x < opaque.width(); ++x)
      pixels[size_t(y) * size_t(opaque.width()) + size_t(x)] = palette.IndexOf(row[x]);
  }
  return pixels;
}

bool PutLoopForever(GifFileType* gif) {
  static const GifByteType kName[] = {'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0'};
  static const GifByteType kLoopCount0[] = {1, 0, 0};  // sub-block 1, loop count 0 (little-endian)
  return EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE) == GIF_OK &&
         EGifPutExtensionBlock(gif, sizeof kName, kName) == GIF_OK &&
         EGifPutExtensionBlock(gif, sizeof kLoopCount0, kLoopCount0) == GIF_OK &&
         EGifPutExtensionTrailer(gif) == GIF_OK;
}

bool PutFrameControl(GifFileType* gif, int delay) {
  GraphicsControlBlock control{DISPOSE_DO_NOT, false, delay, kTransparentIndex};
  GifByteType bytes[4];
  const size_t length = EGifGCBToExtension(&control, bytes);
  return EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, int(length), bytes) == GIF_OK;
}

// Writes the pixels of `current` inside `area`; pixels equal to `previous` become transparent.
bool PutFrame(GifFileType* gif, const QRect& area, int stride, const Indexed& current,
              const Indexed* previous) {
  if (EGifPutImageDesc(gif, area.x(), area.y(), area.width(), area.height(), false, nullptr) !=
      GIF_OK)
    return false;
  std::vector<GifByteType> line(size_t(area.width()));
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      const size_t at = size_t(y) * size_t(stride) + size_t(x);
      const bool same = previous && (*previous)[at] == current[at];
      line[size_t(x - area.left())] = same ? kTransparentIndex : current[at];
    }
    if (EGifPutLine(gif, line.data(), area.width()) != GIF_OK) return false;
  }
  return true;
}

std::string Reason(int error) {
  const char* words = GifErrorString(error);
  return words ? words : "GIF error " + std::to_string(error);
}

}  // namespace

std::string WriteGif(const Animation& animation, const std::string& path) {
  const QSize size = animation.frames.front().size();
  Palette palette(animation.frames, kTransparentIndex);
  GifColorType table[256] = {};
  for (size_t i = 0; i < palette.Colours().size(); ++i) {
    table[i] = {GifByteType(qRed(palette.Colours()[i])), GifByteType(qGreen(palette.Colours()[i])),
                GifByteType(qBlue(palette.Colours()[i]))};
  }
  table[kTransparentIndex] = {255, 255, 255};

  int error = 0;
  // Readable by everyone, like the PNG files (giflib's own open would make it private).
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd < 0) return "cannot create the file";
  GifFileType* gif = EGifOpenFileHandle(fd, &error);
  if (!gif) {
    close(fd);
    return Reason(error);
  }
  auto fail = [&] {
    int closeError = 0;
    const std::string why = Reason(gif->Error ? gif->Error : E_GIF_ERR_WRITE_FAILED);
    EGifCloseFile(gif, &closeError);
    return why;
  };
  std::unique_ptr<ColorMapObject, decltype(&GifFreeMapObject)> map(GifMakeMapObject(256, table),
                                                                   &GifFreeMapObject);
  EGifSetGifVersion(gif, true);
  if (EGifPutScreenDesc(gif, size.width(), size.height(), 8, 0, map.get()) != GIF_OK ||
      !PutLoopForever(gif)) {
    return fail();
  }
  Indexed previous;
  for (size_t i = 0; i < animation.frames.size(); ++i) {
    Indexed current = IndexFrame(animation.frames[i], palette);
    const QRect area = i == 0 ? QRect(QPoint(0, 0), size) : animation.changingRegion;
    if (!PutFrameControl(gif, animation.delayHundredths) ||
        !PutFrame(gif, area, size.width(), current, i == 0 ? nullptr : &previous)) {
      return fail();
    }
    previous = std::move(current);
  }
  if (EGifCloseFile(gif, &error) != GIF_OK) return Reason(error);
  return {};
}

}  // namespace ostrel::artgen

// The window's font: "微软雅黑" in the Chinese character set, by character (em) height in
// pixels, made once per height. Where the face is missing, Windows' font mapper picks the
// nearest font of that character set.
#pragma once

#include <windows.h>

#include <map>

namespace ostrel::app::win32 {

class GdiFonts {
 public:
  GdiFonts() = default;
  ~GdiFonts();
  GdiFonts(const GdiFonts&) = delete;
  GdiFonts& operator=(const GdiFonts&) = delete;

  HFONT Font(int pixelHeight);

 private:
  std::map<int, HFONT> fonts_;
};

}  // namespace ostrel::app::win32

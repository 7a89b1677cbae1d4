#include "app/win32/GdiFonts.h"

namespace ostrel::app::win32 {

GdiFonts::~GdiFonts() {
  for (auto& [height, font] : fonts_) DeleteObject(font);
}

HFONT GdiFonts::Font(int pixelHeight) {
  auto found = fonts_.find(pixelHeight);
  if (found != fonts_.end()) return found->second;
  // A negative height asks for the character height, without the internal leading.
  HFONT font = CreateFontW(-pixelHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, GB2312_CHARSET, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"微软雅黑");
  if (!font) font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  else fonts_.emplace(pixelHeight, font);
  return font;
}

}  // namespace ostrel::app::win32

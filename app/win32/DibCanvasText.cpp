// Texts on the DIB canvas: one line of plain text through GDI, clipped.
#include <string>

#include "app/win32/DibCanvas.h"
#include "platform/win32/wide_text.h"

namespace ostrel::app::win32 {
namespace {

UINT FormatOf(skin::TextPlacement placement) {
  // One line; "&" is a character, not a mnemonic; clipped by the clip region only.
  const UINT plain = DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP;
  switch (placement) {
    case skin::TextPlacement::Centred: return plain | DT_CENTER | DT_VCENTER;
    case skin::TextPlacement::CentredAcross: return plain | DT_CENTER | DT_TOP;
    case skin::TextPlacement::Left: return plain | DT_LEFT | DT_VCENTER;
    default: return plain | DT_LEFT | DT_TOP;
  }
}

}  // namespace

skin::TextSize DibCanvas::MeasureText(std::string_view text, int fontHeight) {
  const std::wstring wide = platform::win32::Wide(text);
  HGDIOBJ before = SelectObject(dc_, fonts_.Font(fontHeight));
  SIZE size{};
  GetTextExtentPoint32W(dc_, wide.c_str(), static_cast<int>(wide.size()), &size);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc_, &metrics);
  SelectObject(dc_, before);
  return {static_cast<int>(size.cx), static_cast<int>(metrics.tmHeight)};
}

void DibCanvas::PaintText(std::string_view text, const skin::Box& box, const skin::TextStyle& style,
                          const skin::Box& clip) {
  const skin::Box area = ToBitmap(clip);
  if (area.Empty() || text.empty()) return;
  std::wstring wide = platform::win32::Wide(text);
  HRGN region = CreateRectRgn(area.left, area.top, area.Right(), area.Bottom());
  SelectClipRgn(dc_, region);
  HGDIOBJ before = SelectObject(dc_, fonts_.Font(style.fontHeight));
  SetTextColor(dc_, style.colour.AsBgr());
  RECT r{box.left + origin_.x, box.top + origin_.y, box.Right() + origin_.x, box.Bottom() + origin_.y};
  DrawTextW(dc_, wide.data(), static_cast<int>(wide.size()), &r, FormatOf(style.placement));
  SelectObject(dc_, before);
  SelectClipRgn(dc_, nullptr);
  DeleteObject(region);
}

}  // namespace ostrel::app::win32

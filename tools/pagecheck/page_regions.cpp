#include "tools/pagecheck/page_regions.h"

#include <algorithm>

#include "res/resources.h"
#include "skin/ControlNames.h"
#include "skin/Form.h"
#include "skin/GifDecode.h"

namespace ostrel::pagecheck {
namespace {

using skin::Box;
using skin::ControlKind;
using skin::TextPlacement;

// About how wide a font draws the text: Chinese characters are as wide as the font is high,
// others a little over half that.
int RoughWidth(std::string_view text, int fontHeight) {
  int width = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const unsigned char c = text[i];
    if (c < 0x80) width += fontHeight * 6 / 10;
    else if (c >= 0xE0) width += fontHeight;  // the lead byte of a three-byte character
  }
  return width;
}

// Where a label's text may be drawn by any font: a few pixels beyond what its box or the
// rough width say. A label that sizes itself to its text has room for three more characters
// to its right; a centred text keeps to the rows about its middle and to its rough width and
// a quarter, except the version, which is any text the manifest gives and widens both ways.
Box TextArea(const Box& box, std::string_view name, std::string_view text, int fontHeight, TextPlacement placement) {
  constexpr int kMargin = 4;
  Box area = box;
  if (placement == TextPlacement::Auto) {
    area.width += std::max(box.width / 4, 3 * fontHeight);
  } else if (name == skin::ctl::lblVersion || name == skin::ctl::lblVersion2) {
    area.left = 0, area.width = skin::kContentWidth;
  } else if (placement == TextPlacement::Centred || placement == TextPlacement::CentredAcross) {
    const int width = RoughWidth(text, fontHeight) * 5 / 4;
    if (width < box.width) area.left += (box.width - width) / 2, area.width = width;
    const int height = fontHeight * 3 / 2;
    if (height < box.height) {
      if (placement == TextPlacement::Centred) area.top += (box.height - height) / 2;
      area.height = height;
    }
  }
  return {area.left - kMargin, area.top - kMargin, area.width + 2 * kMargin, area.height + 2 * kMargin};
}

// Where the frames after the first of an embedded animation draw.
Box ChangingPart(std::string_view resource) {
  const res::Resource* found = res::Find(resource);
  if (!found) return {};
  const skin::GifAnimation gif = skin::DecodeGif(found->Bytes());
  Box changing;
  for (size_t i = 1; i < gif.frames.size(); ++i) changing = changing.Unite(gif.frames[i].area);
  return changing;
}

}  // namespace

const std::vector<PageSpec>& Pages() {
  static const std::vector<PageSpec> pages = {
      {"AZ", 0, {"AZ.png"}},
      {"SZ", 1, {"SZ.png"}},
      {"XZ", 2, {"XZ.png", "XZ-2.png", "XZ-3.png"}},  // the slide on show depends on the time
      {"WC", 3, {"WC.png"}},
  };
  return pages;
}

const PageSpec* FindPage(std::string_view name) {
  for (const PageSpec& page : Pages())
    if (name == page.name) return &page;
  return nullptr;
}

std::vector<Box> IgnoredAreas(const PageSpec& page) {
  skin::Form form;
  form.ShowPage(skin::ctl::nbMain, page.index);
  std::vector<Box> areas;
  for (skin::Control& c : form.Controls()) {
    if (!form.IsShowing(c)) continue;
    const Box box = form.AbsoluteBox(c);
    if ((c.IsLabel() && !c.text.empty()) || c.Kind() == ControlKind::Edit) {
      areas.push_back(TextArea(box, c.Name(), c.text, c.description->fontHeight, c.description->placement));
    } else if (c.Name() == skin::ctl::pnlJD) {
      areas.push_back(box);  // the progress fill
    } else if (c.Name() == skin::ctl::imgBg1) {
      areas.push_back(ChangingPart("BG_JSAZ1").Moved(box.left, box.top));
    }
  }
  return areas;
}

Box ControlBox(std::string_view name) {
  skin::Form form;
  skin::Control* c = form.Find(name);
  return c ? form.AbsoluteBox(*c) : Box{};
}

}  // namespace ostrel::pagecheck

// What a page of the installer window shows that may rightly differ between two hosts or two
// moments: its texts (each font renders them its own way), the edit box, the progress trough
// and the changing part of the animated start picture. Everything else is pictures and
// colours that must be the same pixels at the same places.
#pragma once

#include <QString>

#include <string_view>
#include <vector>

#include "skin/Geometry.h"

namespace ostrel::pagecheck {

struct PageSpec {
  const char* name;                 // the page's caption: AZ, SZ, XZ or WC
  int index;                        // its index in the main notebook
  std::vector<QString> references;  // ostrel-screens' pictures of it (any one may match)
};

// The four pages of the main notebook.
const std::vector<PageSpec>& Pages();
const PageSpec* FindPage(std::string_view name);

// The boxes of the page (content pixels) that a comparison leaves out.
std::vector<skin::Box> IgnoredAreas(const PageSpec& page);

// A control's box in content pixels, as the window table places it; empty for an unknown name.
skin::Box ControlBox(std::string_view name);

}  // namespace ostrel::pagecheck

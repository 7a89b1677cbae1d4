// Folder junctions, the reparse points that Windows follows like folder links (Windows only).
#pragma once

#include <string>

namespace testkit {

// A folder junction at link that leads to target, as mklink /J makes it; false when it can't be made.
bool MakeJunction(const std::string& link, const std::string& target);

}  // namespace testkit

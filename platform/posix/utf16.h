// UTF-8 <-> UTF-16 for the file formats that store UTF-16 (hive files, Shell Links).
//
// Host text is UTF-8, but any byte string must survive a trip through UTF-16:
// a byte that is not part of valid UTF-8 becomes a lone low surrogate
// U+DC80..U+DCFF and comes back as the same byte.
#pragma once

#include <string>

namespace platform::posix {

std::u16string Utf8ToUtf16(const std::string& text);
std::string Utf16ToUtf8(const std::u16string& text);

}  // namespace platform::posix

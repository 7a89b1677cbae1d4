// The escapes of Wine's registry files.
//
// Text is written as ASCII: "\" and the two delimiter characters get a
// backslash, control characters become C escapes (\n, \t, ...) or octal,
// and every UTF-16 unit above 127 becomes \x followed by its hex digits.
// Host text is UTF-8 (see utf16.h for bytes that are not).
#pragma once

#include <string>

namespace platform::posix {

// Escapes text for a key section ("[" and "]" delimit) or a quoted name or
// value ('"' delimits).
std::string EscapeKeyName(const std::string& text);
std::string EscapeQuoted(const std::string& text);

// Reads escaped text starting at in[pos] up to the unescaped character
// closing (not included). On success pos is left on closing and out holds
// the text; false when closing never comes.
bool UnescapeUntil(const std::string& in, size_t& pos, char closing, std::string& out);

}  // namespace platform::posix

// Text conversions at the boundary to the target systems' code page 936 (GBK).
// Host text is UTF-8 throughout.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool IsValidUtf8(std::string_view text);

// Code page 936 bytes as UTF-8; nullopt when the bytes are not valid there.
std::optional<std::string> GbkToUtf8(std::string_view gbk);

// As GbkToUtf8, but each byte that starts no valid character becomes U+FFFD.
std::string GbkToUtf8Lenient(std::string_view gbk);

// UTF-8 as code page 936 bytes; nullopt when the text is not valid UTF-8 or
// holds a character the code page lacks.
std::optional<std::string> Utf8ToGbk(std::string_view utf8);

// Bytes that came from a target system: valid UTF-8 is kept, anything else is
// read as code page 936 (leniently).
std::string HostTextFromTargetBytes(std::string_view bytes);

// UTF-8 text cut to at most maxBytes, before a multi-byte character rather than through it.
std::string CutUtf8(std::string text, size_t maxBytes);

}  // namespace platform

// Telling an HTML page (a server's error or login page) from the file that was asked for.
#pragma once

#include <cstddef>
#include <string_view>

// How many leading body bytes StartsLikeHtml needs at most.
inline constexpr size_t kHtmlSniffBytes = 64;

// The media type of a Content-Type value is "text/html" (any case, parameters ignored).
bool IsHtmlMediaType(std::string_view contentType);

// The body begins, after an optional UTF-8 byte order mark and white space, with
// "<!DOCTYPE html" or "<html" (any case) followed by a blank or ">".
bool StartsLikeHtml(std::string_view head);

#include "platform/console.h"

#include <cstdarg>

namespace platform {

void PrintText(std::FILE* stream, const char* format, ...) {
  va_list args, again;
  va_start(args, format);
  va_copy(again, args);
  const int size = std::vsnprintf(nullptr, 0, format, args);
  va_end(args);
  if (size > 0) {
    std::string text(static_cast<size_t>(size) + 1, '\0');
    std::vsnprintf(text.data(), text.size(), format, again);
    text.pop_back();
    WriteText(stream, text);
  }
  va_end(again);
}

}  // namespace platform

#include "skin/GifFile.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "skin/SkinError.h"

namespace ostrel::skin {
namespace {

int ReadFromMemory(GifFileType* gif, GifByteType* to, int wanted) {
  auto* memory = static_cast<GifMemory*>(gif->UserData);
  size_t n = std::min(static_cast<size_t>(std::max(wanted, 0)), memory->bytes.size() - memory->offset);
  std::memcpy(to, memory->bytes.data() + memory->offset, n);
  memory->offset += n;
  return static_cast<int>(n);
}

}  // namespace

void FailGif(int code) { throw SkinError(std::string("GIF: ") + GifErrorString(code)); }

GifReader OpenGif(GifMemory& memory) {
  memory.offset = 0;
  int error = 0;
  GifReader gif(DGifOpen(&memory, ReadFromMemory, &error));
  if (!gif) FailGif(error);
  return gif;
}

void SkipExtension(GifFileType* gif, GifByteType* block) {
  while (block)
    if (DGifGetExtensionNext(gif, &block) != GIF_OK) FailGif(gif->Error);
}

}  // namespace ostrel::skin

#include "skin/GifDecode.h"

#include <climits>
#include <cstring>

#include "skin/GifFile.h"
#include "skin/SkinError.h"

namespace ostrel::skin {
namespace {

bool IsNetscapeBlock(const GifByteType* block) {
  return block[0] == 11 && std::memcmp(block + 1, "NETSCAPE2.0", 11) == 0;
}

// Reads one extension; the first graphic control block before a frame is that frame's, the
// NETSCAPE2.0 block before the first frame gives the loop count.
void ReadExtension(GifFileType* gif, GifAnimation& out, GraphicsControlBlock& gcb, bool& haveGcb) {
  int code = 0;
  GifByteType* block = nullptr;
  if (DGifGetExtension(gif, &code, &block) != GIF_OK) FailGif(gif->Error);
  if (!block) return;
  if (code == GRAPHICS_EXT_FUNC_CODE && !haveGcb) {
    haveGcb = true;
    DGifExtensionToGCB(block[0], block + 1, &gcb);
  }
  if (code == APPLICATION_EXT_FUNC_CODE && out.frames.empty() && IsNetscapeBlock(block)) {
    if (DGifGetExtensionNext(gif, &block) != GIF_OK) FailGif(gif->Error);
    if (block && block[0] >= 3 && block[1] == 1) out.loopCount = block[2] | (block[3] << 8);
  }
  SkipExtension(gif, block);
}

void ReadFrame(GifFileType* gif, GifAnimation& out, const GraphicsControlBlock& gcb) {
  if (DGifGetImageDesc(gif) != GIF_OK) FailGif(gif->Error);
  const GifImageDesc& d = gif->Image;
  if (d.Width <= 0 || d.Height <= 0 || d.Width > INT_MAX / d.Height) FailGif(D_GIF_ERR_IMAGE_DEFECT);
  if (!d.ColorMap && !gif->SColorMap) throw SkinError("GIF: frame without colour table");
  out.frames.push_back({gcb.DelayTime * 10, {d.Left, d.Top, d.Width, d.Height}, gcb.DisposalMode,
                        gcb.TransparentColor});
  int codeSize = 0;
  GifByteType* block = nullptr;
  if (DGifGetCode(gif, &codeSize, &block) != GIF_OK) FailGif(gif->Error);
  while (block)
    if (DGifGetCodeNext(gif, &block) != GIF_OK) FailGif(gif->Error);
}

}  // namespace

GifAnimation DecodeGif(std::span<const uint8_t> bytes) {
  GifAnimation out;
  out.bytes.assign(bytes.begin(), bytes.end());
  GifMemory memory{out.bytes};
  GifReader gif = OpenGif(memory);
  out.width = gif->SWidth;
  out.height = gif->SHeight;
  const GraphicsControlBlock none{DISPOSAL_UNSPECIFIED, false, 0, NO_TRANSPARENT_COLOR};
  GraphicsControlBlock gcb = none;
  bool haveGcb = false;
  for (GifRecordType record = UNDEFINED_RECORD_TYPE; record != TERMINATE_RECORD_TYPE;) {
    if (DGifGetRecordType(gif.get(), &record) != GIF_OK) FailGif(gif->Error);
    if (record == EXTENSION_RECORD_TYPE) ReadExtension(gif.get(), out, gcb, haveGcb);
    if (record != IMAGE_DESC_RECORD_TYPE) continue;
    ReadFrame(gif.get(), out, gcb);
    gcb = none;
    haveGcb = false;
  }
  if (out.frames.empty()) throw SkinError("GIF: no image");
  return out;
}

}  // namespace ostrel::skin

#include "test_pictures.h"

#include <gif_lib.h>
#include <png.h>

#include <cstring>
#include <stdexcept>

#include "skin/ResourceSource.h"

namespace ostrel::skin::test {

Bytes MakePng(int width, int height, uint32_t rgb, uint8_t alpha) {
  std::vector<uint8_t> pixels;
  for (int i = 0; i < width * height; ++i)
    pixels.insert(pixels.end(), {uint8_t(rgb >> 16), uint8_t(rgb >> 8), uint8_t(rgb), alpha});
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = width, image.height = height, image.format = PNG_FORMAT_RGBA;
  png_alloc_size_t size = 0;
  png_image_write_to_memory(&image, nullptr, &size, 0, pixels.data(), 0, nullptr);
  Bytes out(size);
  if (!png_image_write_to_memory(&image, out.data(), &size, 0, pixels.data(), 0, nullptr))
    throw std::runtime_error(image.message);
  out.resize(size);
  return out;
}

namespace {

int WriteToBytes(GifFileType* gif, const GifByteType* data, int length) {
  auto* out = static_cast<Bytes*>(gif->UserData);
  out->insert(out->end(), data, data + length);
  return length;
}

}  // namespace

Bytes MakeGif(int width, int height, const std::vector<uint32_t>& palette, const std::vector<GifFrameSpec>& frames,
              int loopCount) {
  Bytes out;
  int error = 0;
  GifFileType* gif = EGifOpen(&out, WriteToBytes, &error);
  std::vector<GifColorType> colours(256);
  for (size_t i = 0; i < palette.size(); ++i)
    colours[i] = {GifByteType(palette[i] >> 16), GifByteType(palette[i] >> 8), GifByteType(palette[i])};
  gif->SWidth = width, gif->SHeight = height, gif->SColorResolution = 8;
  gif->SColorMap = GifMakeMapObject(256, colours.data());
  for (const GifFrameSpec& f : frames) {
    SavedImage* image = GifMakeSavedImage(gif, nullptr);
    image->ImageDesc = {f.area.left, f.area.top, f.area.width, f.area.height, f.interlaced, nullptr};
    image->RasterBits = static_cast<GifByteType*>(malloc(f.indices.size()));
    std::memcpy(image->RasterBits, f.indices.data(), f.indices.size());
    if (loopCount >= 0 && gif->ImageCount == 1) {
      GifAddExtensionBlock(&image->ExtensionBlockCount, &image->ExtensionBlocks, APPLICATION_EXT_FUNC_CODE, 11,
                           (unsigned char*)"NETSCAPE2.0");
      unsigned char loop[3] = {1, uint8_t(loopCount & 0xFF), uint8_t(loopCount >> 8)};
      GifAddExtensionBlock(&image->ExtensionBlockCount, &image->ExtensionBlocks, CONTINUE_EXT_FUNC_CODE, 3, loop);
    }
    GraphicsControlBlock gcb{f.disposal, false, f.delayCs, f.transparent};
    EGifGCBToSavedExtension(&gcb, gif, gif->ImageCount - 1);
  }
  EGifSetGifVersion(gif, true);
  // EGifSpew writes and frees the file's record, which holds copies of the colour table; the
  // table and the images made here stay ours to free.
  SavedImage* images = gif->SavedImages;
  ColorMapObject* globalColours = gif->SColorMap;
  const int count = gif->ImageCount;
  const bool written = EGifSpew(gif) == GIF_OK;
  GifFreeMapObject(globalColours);
  for (int i = 0; i < count; ++i) {
    free(images[i].RasterBits);
    GifFreeExtensions(&images[i].ExtensionBlockCount, &images[i].ExtensionBlocks);
    if (images[i].ImageDesc.ColorMap) GifFreeMapObject(images[i].ImageDesc.ColorMap);
  }
  free(images);
  if (!written) throw std::runtime_error("EGifSpew failed");
  return out;
}

const std::map<std::string, Bytes>& CataloguePictures() {
  static const std::map<std::string, Bytes> pictures = [] {
    struct Entry { const char* name; int w, h; };
    const Entry stills[] = {
        {"BG_JSAZ", 640, 480}, {"BG_BANBEN", 58, 20}, {"BG31", 640, 480}, {"BG32", 640, 480},
        {"BG33", 640, 480}, {"BTN_LANB200X44_NORMAL", 200, 44}, {"BTN_LANB200X44_HOVER", 200, 44},
        {"BTN_LANB200X44_DOWN", 200, 44}, {"BTN_BAIB90X36_NORMAL", 90, 36}, {"BTN_BAIB90X36_DOWN", 90, 36},
        {"BTN_GUANBI_NORMAL", 16, 16}, {"BTN_GUANBI_DOWN", 16, 16}, {"BTN_GUANBI_BLUE_NORMAL", 10, 10},
        {"BTN_GUANBI_BLUE_DOWN", 10, 10}, {"IMPUT_300X36", 300, 36}, {"LOGO_90X90", 90, 90},
        {"ICON_ANZHUANGWANCHENG", 44, 44}};
    std::map<std::string, Bytes> m;
    uint32_t colour = 0x102030;
    for (const Entry& e : stills) m[e.name] = MakePng(e.w, e.h, colour += 0x0A0B0C);
    std::vector<GifFrameSpec> frames(3);
    for (int i = 0; i < 3; ++i) {
      frames[i].area = i == 0 ? Box{0, 0, 640, 480} : Box{69, 139, 532, 224};
      frames[i].indices.assign(size_t(frames[i].area.width) * frames[i].area.height, uint8_t(i));
      frames[i].transparent = 255;
    }
    m["BG_JSAZ1"] = MakeGif(640, 480, {0xFF0000, 0x00FF00, 0x0000FF}, frames, 0);
    return m;
  }();
  return pictures;
}

CatalogueSource::CatalogueSource() {
  SetResourceSource([](std::string_view name) -> std::optional<std::span<const uint8_t>> {
    std::string upper(name);
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    auto found = CataloguePictures().find(upper);
    if (found == CataloguePictures().end()) return std::nullopt;
    return std::span<const uint8_t>(found->second);
  });
}

CatalogueSource::~CatalogueSource() { SetResourceSource({}); }

}  // namespace ostrel::skin::test

// The pictures under res/ are in the form the installer's decoders expect: the names and sizes of
// the window's catalogue, 8-bit RGBA PNGs without interlacing, transparent button corners, the
// key colours, and the start page's looping GIF89a animation.
#include <gtest/gtest.h>
#include <png.h>

#include <filesystem>
#include <set>
#include <string>

#include "picture_files.h"

namespace ostrel::res::test {
namespace {

const std::string kResDir = OSTREL_RES_DIR;

struct ExpectedPng {
  const char* name;
  std::uint32_t width, height;
  bool transparentCorner;    // alpha 0 at (0, 0)
  std::uint32_t centre = 0;  // 0xRRGGBBAA at the centre, 0 = not checked
  std::uint32_t corner = 0;  // 0xRRGGBBAA at (0, 0), 0 = not checked
};

const ExpectedPng kPngs[] = {
    {"BG_JSAZ", 640, 480, false, 0, 0xFFFFFFFF},
    {"BG_BANBEN", 58, 20, false, 0xF75858FF},
    {"BG31", 640, 480, false, 0, 0x3B85FFFF},
    {"BG32", 640, 480, false, 0, 0x3B85FFFF},
    {"BG33", 640, 480, false, 0, 0x3B85FFFF},
    {"BTN_LANB200X44_NORMAL", 200, 44, true, 0x2E7BFBFF},
    {"BTN_LANB200X44_HOVER", 200, 44, true, 0x468CFFFF},
    {"BTN_LANB200X44_DOWN", 200, 44, true, 0x2A6FE3FF},
    {"BTN_BAIB90X36_NORMAL", 90, 36, true, 0xFFFFFFFF},
    {"BTN_BAIB90X36_DOWN", 90, 36, true, 0xF3F3F3FF},
    {"BTN_GUANBI_NORMAL", 16, 16, true},
    {"BTN_GUANBI_DOWN", 16, 16, true},
    {"BTN_GUANBI_BLUE_NORMAL", 10, 10, true},
    {"BTN_GUANBI_BLUE_DOWN", 10, 10, true},
    {"IMPUT_300X36", 300, 36, true, 0xFFFFFFFF},
    {"LOGO_90X90", 90, 90, true},
    {"ICON_ANZHUANGWANCHENG", 44, 44, true},
};

TEST(ResFormat, FolderHoldsExactlyTheCatalogue) {
  std::set<std::string> expected{"BG_JSAZ1.gif"};
  for (const ExpectedPng& png : kPngs) expected.insert(std::string(png.name) + ".png");
  std::set<std::string> found;
  for (const auto& entry : std::filesystem::directory_iterator(kResDir)) {
    const std::string extension = entry.path().extension().string();
    if (extension == ".png" || extension == ".gif") found.insert(entry.path().filename().string());
  }
  EXPECT_EQ(found, expected);
}

TEST(ResFormat, PngPicturesAreRgba8WithTheirSizesAndColours) {
  for (const ExpectedPng& want : kPngs) {
    SCOPED_TRACE(want.name);
    const PngFile png = ReadPng(kResDir + "/" + want.name + ".png");
    ASSERT_EQ(png.error, "");
    EXPECT_EQ(png.width, want.width);
    EXPECT_EQ(png.height, want.height);
    EXPECT_EQ(png.colourType, PNG_COLOR_TYPE_RGB_ALPHA);
    EXPECT_EQ(png.bitDepth, 8);
    EXPECT_EQ(png.interlace, PNG_INTERLACE_NONE);
    if (png.width != want.width || png.height != want.height || png.bitDepth != 8) continue;
    if (want.transparentCorner) {
      EXPECT_EQ(png.rgba(0, 0) & 0xFF, 0u);
    }
    if (want.centre) {
      EXPECT_EQ(png.rgba(want.width / 2, want.height / 2), want.centre);
    }
    if (want.corner) {
      EXPECT_EQ(png.rgba(0, 0), want.corner);
    }
  }
}

TEST(ResFormat, StartAnimationIsALoopingGif89aOver48Frames) {
  const std::string path = kResDir + "/BG_JSAZ1.gif";
  EXPECT_EQ(Signature(path), "GIF89a");
  const GifFile gif = ReadGif(path);
  ASSERT_TRUE(gif);
  EXPECT_EQ(gif->SWidth, 640);
  EXPECT_EQ(gif->SHeight, 480);
  ASSERT_NE(gif->SColorMap, nullptr);
  EXPECT_EQ(gif->SColorMap->ColorCount, 256);
  EXPECT_EQ(LoopCount(*gif), 0);
  ASSERT_EQ(gif->ImageCount, 48);
  for (int i = 0; i < gif->ImageCount; ++i) {
    SCOPED_TRACE("frame " + std::to_string(i + 1));
    GraphicsControlBlock control{};
    ASSERT_EQ(DGifSavedExtensionToGCB(gif.get(), i, &control), GIF_OK);
    EXPECT_EQ(control.DelayTime, 4);
    EXPECT_EQ(control.DisposalMode, DISPOSE_DO_NOT);
    EXPECT_EQ(control.TransparentColor, 255);
    const GifImageDesc& area = gif->SavedImages[i].ImageDesc;
    const bool first = i == 0;  // the whole picture; every later frame only the changing region
    EXPECT_EQ(area.Left, first ? 0 : 69);
    EXPECT_EQ(area.Top, first ? 0 : 139);
    EXPECT_EQ(area.Width, first ? 640 : 532);
    EXPECT_EQ(area.Height, first ? 480 : 224);
    EXPECT_FALSE(area.Interlace);
  }
}

}  // namespace
}  // namespace ostrel::res::test

// The picture loader: resource names from skin paths, the first pass, state changes,
// errors, and the pictures built into the program.
#include <gtest/gtest.h>

#include "res/resources.h"
#include "reference_gif.h"
#include "skin/GifDecode.h"
#include "skin/Picture.h"
#include "skin/PngDecode.h"
#include "skin/SkinError.h"
#include "skin/UnitFormImage5.h"
#include "tests/testkit/files.h"
#include "tests/testkit/temp_dir.h"
#include "test_window.h"

namespace ostrel::skin::test {
namespace {

TEST(ResourceName, LastComponentCutAtTheLastDot) {
  struct Case { const char* path; const char* name; } cases[] = {
      {"C:\\Setup\\res\\PubBtn\\btn_LanB200x44_hover.png", "btn_LanB200x44_hover"},
      {"res\\ZJM\\bg_JSAZ1.gif", "bg_JSAZ1"},
      {"C:bg31.png", "bg31"},
      {"Z:\\a.b\\logo", "logo"},
      {"dir\\two.dots.png", "two.dots"},
      {"plain", "plain"},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(ResourceNameOf(c.path), c.name) << c.path;
}

class Loader : public ::testing::Test {
 protected:
  CatalogueSource pictures;
  Form form;
};

TEST_F(Loader, MissingResourceRaisesItsNameAndKeepsThePicture) {
  Control& image = form.Get("imgBg31");
  LoadPngImage("X:\\res\\ZJM\\bg31.png", image);
  try {
    LoadPngImage("X:\\res\\ZJM\\bg_none.png", image);
    FAIL() << "no error";
  } catch (const SkinError& e) {
    EXPECT_STREQ(e.what(), "Resource bg_none not found");
  }
  EXPECT_EQ(image.picture->Resource(), "BG31");
}

TEST_F(Loader, BytesOfTheOtherFormatRaiseTheDecodersError) {
  Control& image = form.Get("imgBg1");
  EXPECT_THROW(LoadGifImage("res\\ZJM\\bg31.png", image), SkinError);
  EXPECT_THROW(LoadPngImage("res\\ZJM\\bg_JSAZ1.gif", image), SkinError);
  EXPECT_EQ(image.picture, nullptr);
}

TEST_F(Loader, FirstPassLoadsEveryImageWithASkinPath) {
  AppDir = "C:\\Setup\\";
  LoadFormImages(form);
  std::vector<std::string> loaded, skipped;
  for (Control& c : form.Controls())
    if (c.IsImage()) (c.picture ? loaded : skipped).push_back(std::string(c.Name()));
  EXPECT_EQ(loaded, (std::vector<std::string>{"imgbtn_AZ", "imgClose", "imgbtn_LJAZ", "imgbtn_LL", "imginput_azlj",
                                              "imgSettingIcon", "imgClose2", "imgBg31", "imgClose31", "img32",
                                              "imgClose32", "img33", "imgClose33", "imgbtn_WC", "imgWCIcon",
                                              "imgClose4"}));
  EXPECT_EQ(skipped, (std::vector<std::string>{"imgBg1", "imgico_bb", "imgBg2", "imgbtn_XZ", "imgBg4"}));
  EXPECT_EQ(form.Get("imgbtn_AZ").picture->Resource(), "BTN_LANB200X44_NORMAL");
  EXPECT_EQ(form.Get("imgSettingIcon").picture->Resource(), "LOGO_90X90");
}

TEST_F(Loader, BothSpellingsOfTheCloseCrossFindTheSamePictures) {
  LoadFormImages(form);
  for (const char* name : {"imgClose", "imgClose2", "imgClose4"}) {
    EXPECT_EQ(form.Get(name).picture->Resource(), "BTN_GUANBI_NORMAL") << name;
    SetImageState(form, name, "down");
    EXPECT_EQ(form.Get(name).picture->Resource(), "BTN_GUANBI_DOWN") << name;
  }
}

TEST_F(Loader, FilesUnderResBesideTheProgramAreNeverRead) {
  const testkit::TempDir dir;
  testkit::WriteFile(dir / "res" / "ZJM" / "bg31.png", "not a picture");
  AppDir = "Z:" + dir.path().generic_string() + "/";
  for (char& c : AppDir) c = c == '/' ? '\\' : c;
  EXPECT_NO_THROW(LoadFormImages(form));
  EXPECT_EQ(form.Get("imgBg31").picture->Width(), 640);
}

TEST(LabelEntryPoints, LabelsThatDriveNoImageChangeNothing) {
  CatalogueSource pictures;
  WindowDescription window = SpeedInstallWindow();
  ControlDescription label = window.controls.back();
  label.kind = ControlKind::Label, label.owner = "pnlAZ";
  for (auto [name, hint] : {std::pair{"lblNoHint", ""}, {"lblNoImage", "imgNothing"}, {"lblNotImage", "lblBT"}}) {
    label.name = name, label.hint = hint;
    window.controls.push_back(label);
  }
  Form form(window);
  LoadFormImages(form);
  for (const char* name : {"lblNoHint", "lblNoImage", "lblNotImage"})
    for (auto entry : {SkinBtnMouseDown, SkinBtnMouseEnter, SkinBtnMouseLeave, SkinBtnMouseUp, SkinHotMouseEnter,
                       SkinHotMouseLeave}) {
      EXPECT_NO_THROW(entry(form, &form.Get(name)));
      EXPECT_NO_THROW(entry(form, nullptr));
    }
  EXPECT_EQ(form.Get("lblBT").text, "Ostrel             全新上线");
  EXPECT_EQ(FindSkinImage(form, "lblBT"), nullptr);
}

TEST(EmbeddedPictures, CatalogueSizesWhenBuiltIn) {
  if (res::All().empty()) GTEST_SKIP() << "no pictures in res/ yet";
  for (const auto& [name, made] : CataloguePictures()) {
    const res::Resource* r = res::Find(name);
    ASSERT_NE(r, nullptr) << name;
    if (name == "BG_JSAZ1") continue;
    RgbaImage real = DecodePng(r->Bytes()), expected = DecodePng(made);
    EXPECT_EQ(real.width, expected.width) << name;
    EXPECT_EQ(real.height, expected.height) << name;
  }
  GifAnimation gif = DecodeGif(res::Find("BG_JSAZ1")->Bytes());
  EXPECT_EQ(gif.width, 640);
  EXPECT_EQ(gif.height, 480);
  EXPECT_EQ(gif.frames.size(), 48u);
  EXPECT_EQ(gif.loopCount, 0);
  for (const GifFrame& f : gif.frames) EXPECT_EQ(f.delayMs, 40);
  EXPECT_EQ(res::Find("btn_lanb200x44_hover"), res::Find("BTN_LANB200X44_HOVER"));
  EXPECT_EQ(res::Find("BTN_NONE"), nullptr);
}

// The start page's animation as the window plays it, frame by frame from its clock over three
// cycles and then a jump back, is the animation that decoding every frame at once gives.
TEST(EmbeddedPictures, TheStartPageAnimationPlaysTheFramesOfAFullDecode) {
  if (res::All().empty()) GTEST_SKIP() << "no pictures in res/ yet";
  const auto bytes = res::Find("BG_JSAZ1")->Bytes();
  const std::vector<RgbaImage> reference = AllFramesAtOnce(bytes);
  ASSERT_EQ(reference.size(), 48u);
  Picture picture("BG_JSAZ1", DecodeGif(bytes));
  std::vector<int> shown;
  for (int64_t at = 0; at < 3 * 1920; at += 40) {
    const int index = picture.FrameIndexAt(at);
    shown.push_back(index);
    ASSERT_EQ(picture.Frame(index).pixels, reference[index].pixels) << "at " << at << " ms, frame " << index;
  }
  EXPECT_EQ(shown.size(), 3u * 48);
  EXPECT_EQ(shown[48], 0);
  EXPECT_EQ(shown[47 + 48], 47);
  for (int index : {20, 5, 47, 0})
    EXPECT_EQ(picture.Frame(index).pixels, reference[index].pixels) << "frame " << index << " asked for again";
}

}  // namespace
}  // namespace ostrel::skin::test

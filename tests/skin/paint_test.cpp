// Painting through the Canvas: what is drawn, where, clipped to what, in which order; the
// self-sizing labels; the animation's clock.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "test_window.h"

namespace ostrel::skin::test {
namespace {

// Writes each drawing as one line of text.
class RecordingCanvas : public Canvas {
 public:
  TextSize MeasureText(std::string_view text, int fontHeight) override {
    return FixedMeasure().MeasureText(text, fontHeight);
  }
  void DrawImage(const RgbaImage& image, int left, int top, const Box& clip) override {
    std::ostringstream s;
    s << "image " << image.width << "x" << image.height << " at " << left << "," << top << Clip(clip);
    ops.push_back(s.str());
    images.push_back(&image);
  }
  void FillRect(const Box& box, Rgb colour, const Box& clip) override {
    std::ostringstream s;
    s << "fill " << std::hex << colour.value << std::dec << " " << Text(box) << Clip(clip);
    ops.push_back(s.str());
  }
  void PaintText(std::string_view text, const Box& box, const TextStyle& style, const Box& clip) override {
    std::ostringstream s;
    s << "text " << text << " " << Text(box) << " " << style.fontHeight << Clip(clip);
    ops.push_back(s.str());
  }

  std::vector<std::string> ops;
  std::vector<const RgbaImage*> images;

 private:
  static std::string Text(const Box& b) {
    return "(" + std::to_string(b.left) + "," + std::to_string(b.top) + " " + std::to_string(b.width) + "x" +
           std::to_string(b.height) + ")";
  }
  static std::string Clip(const Box& b) { return " clip " + Text(b); }
};

std::vector<std::string> PaintPage(Form& form, const Box& area = {0, 0, 640, 480}) {
  RecordingCanvas canvas;
  form.Paint(canvas, area);
  return canvas.ops;
}

using Painting = ShownWindow;

TEST_F(Painting, StartPageInStackingOrder) {
  EXPECT_EQ(PaintPage(form()), (std::vector<std::string>{
                     "fill ffffff (0,0 640x480) clip (0,0 640x480)",
                     "image 640x480 at 0,0 clip (0,0 640x480)",
                     "image 200x44 at 220,391 clip (220,391 200x44)",
                     "text 极速安装 (220,391 200x44) 16 clip (220,391 200x44)",
                     "text Ostrel             全新上线 (206,56 225x28) 21 clip (206,56 225x28)",
                     "image 16x16 at 613,10 clip (613,10 16x16)",
                     "text 始终致力于为您提供更好的客户体验 (224,92 192x17) 12 clip (224,92 192x17)",
                     "image 58x20 at 274,62 clip (274,62 58x20)",
                     "text Norvik专版 (274,62 58x20) 12 clip (274,62 58x20)",
                 }));
}

TEST_F(Painting, PicturesAtNaturalSizeClippedToTheirBox) {
  window->ShowMainPage(ostrel::app::kPageXZ);
  std::vector<std::string> ops = PaintPage(form());
  EXPECT_NE(std::find(ops.begin(), ops.end(), "image 640x480 at 0,0 clip (0,0 640x415)"), ops.end());
  EXPECT_NE(std::find(ops.begin(), ops.end(), "fill f3f3f3 (30,433 580x6) clip (30,433 580x6)"), ops.end());
  EXPECT_EQ(std::count_if(ops.begin(), ops.end(), [](auto& op) { return op.starts_with("fill 5d9ef5"); }), 0)
      << "an empty fill draws nothing";
  window->SetProgressFill(50);
  ops = PaintPage(form());
  EXPECT_NE(std::find(ops.begin(), ops.end(), "fill 5d9ef5 (30,433 290x20) clip (30,433 290x6)"), ops.end());

  window->ShowMainPage(ostrel::app::kPageSZ);
  ops = PaintPage(form());
  EXPECT_NE(std::find(ops.begin(), ops.end(), "image 90x36 at 479,295 clip (479,295 91x36)"), ops.end());
  window->ShowMainPage(ostrel::app::kPageWC);
  ops = PaintPage(form());
  EXPECT_NE(std::find(ops.begin(), ops.end(), "image 44x44 at 298,135 clip (298,135 47x48)"), ops.end());
}

TEST_F(Painting, OnlyWhatLiesInTheAreaIsDrawn) {
  std::vector<std::string> ops = PaintPage(form(), {600, 0, 40, 40});
  EXPECT_EQ(ops, (std::vector<std::string>{"fill ffffff (0,0 640x480) clip (600,0 40x40)",
                                           "image 640x480 at 0,0 clip (600,0 40x40)",
                                           "image 16x16 at 613,10 clip (613,10 16x16)"}));
}

TEST_F(Painting, SelfSizingLabelsTakeTheirTextsSize) {
  form().SetTextMeasure(&measure);
  EXPECT_EQ(get("lblFH").box, (Box{446, 402, 28, 20}));
  EXPECT_EQ(get("lblJD").box, (Box{174, 35, 24, 18}));
  form().SetText("lblJD", "100%");
  EXPECT_EQ(get("lblJD").box, (Box{174, 35, 48, 18}));
  form().SetText("lblAZ", "x");
  EXPECT_EQ(get("lblAZ").box, (Box{220, 391, 200, 44})) << "a centred label keeps its box";
}

// Texts measure a font height per character here.
TEST_F(Painting, ACentredTextWiderThanItsLabelWidensTheLabelAroundItsCentreWithinTheWindow) {
  form().SetTextMeasure(&measure);
  window->ShowMainPage(ostrel::app::kPageSZ);
  const std::string wide(60, 'x');
  struct Case { const char* label; std::string text; Box box; const char* what; } cases[] = {
      {"lblVersion2", "V1", {290, 204, 60, 27}, "fits: the box of the description"},
      {"lblVersion2", "V2.3.118 演示版", {200, 204, 240, 27}, "wider: around the centre"},
      {"lblLL", std::string(20, 'x'), {360, 295, 280, 36}, "kept inside the window's right edge"},
      {"lblXZ", wide, {0, 33, 640, 28}, "wider than the window: the window's width, in the strip"},
      {"lblErrorHint", std::string(50, 'x'), {20, 0, 600, 17}, "centred across"},
      {"lblVersion2", "V1", {290, 204, 60, 27}, "back to a short text"},
  };
  for (const Case& c : cases) {
    host.repainted.clear();
    form().SetText(c.label, c.text);
    EXPECT_EQ(get(c.label).box, c.box) << c.what;
  }
  form().SetText("lblVersion2", "V2.3.118 演示版");
  EXPECT_EQ(host.repainted.back(), (Box{200, 204, 240, 27})) << "the widened box is painted again";
  const std::vector<std::string> ops = PaintPage(form(), {200, 204, 240, 27});
  EXPECT_NE(std::find(ops.begin(), ops.end(), "text V2.3.118 演示版 (200,204 240x27) 20 clip (200,204 240x27)"),
            ops.end());
}

TEST_F(Painting, ChangesRepaintTheirBoxes) {
  form().SetVisible("lblVersion", true);
  window->SetProgressFill(10);
  EXPECT_EQ(host.repainted, (std::vector<Box>{{290, 119, 60, 27}})) << "the fill is not on show";
  host.repainted.clear();
  Click("lblAZ", MouseButton::Right);  // the button's pictures change; no click, no new page
  ASSERT_FALSE(host.repainted.empty());
  for (const Box& b : host.repainted) EXPECT_EQ(b, (Box{220, 391, 200, 44}));
}

TEST_F(Painting, TheAnimationFollowsItsClockWhileOnShow) {
  RecordingCanvas canvas;
  form().Paint(canvas);
  const std::vector<uint8_t> first = canvas.images.at(0)->pixels;
  EXPECT_EQ(form().AdvanceAnimations(), 40);
  now += 40;
  host.repainted.clear();
  EXPECT_EQ(form().AdvanceAnimations(), 40);
  EXPECT_EQ(host.repainted, (std::vector<Box>{{0, 0, 640, 480}}));
  canvas.images.clear();
  form().Paint(canvas);
  EXPECT_NE(canvas.images.at(0)->pixels, first);
  now += 80;
  canvas.images.clear();
  form().Paint(canvas);
  EXPECT_EQ(canvas.images.at(0)->pixels, first) << "three frames of 40 ms, then the first again";

  window->ShowMainPage(ostrel::app::kPageSZ);
  now += 40;
  host.repainted.clear();
  EXPECT_EQ(form().AdvanceAnimations(), -1);
  EXPECT_TRUE(host.repainted.empty());
}

}  // namespace
}  // namespace ostrel::skin::test

// The window's own behaviour: which press drags the window, button pictures through the
// pointer's events, the back link, clicks, the slideshow and the progress fill.
#include <gtest/gtest.h>

#include <functional>

#include "skin/UnitFormImage5.h"
#include "test_window.h"

namespace ostrel::skin::test {
namespace {

using Pointer = ShownWindow;

TEST_F(Pointer, OnlyALeftPressOnABackgroundMovesTheWindow) {
  struct Case { int page; int x, y; bool moves; const char* what; } cases[] = {
      {0, 20, 300, true, "start page picture"},   {0, 300, 70, false, "headline under the badge"},
      {0, 210, 60, false, "headline"},            {0, 300, 400, false, "start button"},
      {0, 620, 16, false, "close cross"},         {1, 20, 20, true, "folder page background"},
      {1, 300, 310, false, "edit box"},           {1, 200, 300, false, "folder frame"},
      {2, 20, 20, true, "slide 1"},               {2, 20, 450, false, "bottom strip"},
      {2, 100, 436, false, "progress trough"},    {3, 20, 20, true, "done page background"},
      {3, 320, 160, false, "completion mark"},
  };
  for (const Case& c : cases) {
    window->ShowMainPage(c.page);
    for (MouseButton button : {MouseButton::Left, MouseButton::Right, MouseButton::Middle}) {
      int before = host.moves;
      form().PointerPress(c.x, c.y, button);
      form().PointerRelease(c.x, c.y, button);
      EXPECT_EQ(host.moves - before, c.moves && button == MouseButton::Left ? 1 : 0) << c.what;
    }
  }
  for (int slide : {1, 2}) {
    window->ShowMainPage(2);
    form().ShowPage("nbPicBrowse", slide);
    int before = host.moves;
    form().PointerPress(300, 200, MouseButton::Left);
    EXPECT_EQ(host.moves, before + 1) << "slide " << slide + 1;
  }
}

TEST_F(Pointer, ThreeStateButtonsFollowEnterPressReleaseLeave) {
  for (auto [page, label, image] : {std::tuple{0, "lblAZ", "imgbtn_AZ"}, {1, "lblLJAZ", "imgbtn_LJAZ"},
                                    {3, "lblWC", "imgbtn_WC"}})
    for (MouseButton button : {MouseButton::Left, MouseButton::Right, MouseButton::Middle}) {
      window->ShowMainPage(page);
      form().PointerMove(0, 0);
      EXPECT_EQ(PictureOf(image), "BTN_LANB200X44_NORMAL");
      MoveTo(label);
      EXPECT_EQ(PictureOf(image), "BTN_LANB200X44_HOVER");
      Box box = form().VisibleBox(get(label));
      form().PointerPress(box.left + 5, box.top + 5, button);
      EXPECT_EQ(PictureOf(image), "BTN_LANB200X44_DOWN");
      form().PointerRelease(box.left + 5, box.top + 5, button);
      EXPECT_EQ(PictureOf(image), "BTN_LANB200X44_NORMAL") << "not hover while still over it";
      form().PointerMove(0, 0);
      EXPECT_EQ(PictureOf(image), "BTN_LANB200X44_NORMAL");
    }
}

TEST_F(Pointer, TwoStateButtonsShowDownWhileThePointerIsOver) {
  struct Case { int page; int slide; const char* label; const char* image; const char* name; } cases[] = {
      {1, 0, "lblLL", "imgbtn_LL", "BTN_BAIB90X36"},          {0, 0, "lblClose", "imgClose", "BTN_GUANBI"},
      {1, 0, "lblClose2", "imgClose2", "BTN_GUANBI"},         {3, 0, "lblClose4", "imgClose4", "BTN_GUANBI"},
      {2, 0, "lblClose31", "imgClose31", "BTN_GUANBI_BLUE"},  {2, 1, "lblClose32", "imgClose32", "BTN_GUANBI_BLUE"},
      {2, 2, "lblClose33", "imgClose33", "BTN_GUANBI_BLUE"},
  };
  for (const Case& c : cases) {
    window->ShowMainPage(c.page);
    form().ShowPage("nbPicBrowse", c.slide);
    const std::string down = std::string(c.name) + "_DOWN", normal = std::string(c.name) + "_NORMAL";
    MoveTo(c.label);
    EXPECT_EQ(PictureOf(c.image), down) << c.label;
    Box box = form().VisibleBox(get(c.label));
    form().PointerPress(box.left + 1, box.top + 1, MouseButton::Right);
    form().PointerRelease(box.left + 1, box.top + 1, MouseButton::Right);
    EXPECT_EQ(PictureOf(c.image), down) << c.label << ": a press changes nothing";
    form().PointerMove(1, 1);
    EXPECT_EQ(PictureOf(c.image), normal) << c.label;
  }
}

TEST_F(Pointer, BackLinkColour) {
  window->ShowMainPage(ostrel::app::kPageSZ);
  MoveTo("lblFH");
  EXPECT_EQ(get("lblFH").colour.AsBgr(), 14778952u);
  form().PointerMove(1, 1);
  EXPECT_EQ(get("lblFH").colour.AsBgr(), 6710886u);
}

// Records the handlers that run, in order; the look's handlers run too, the flow's clicks
// (which would move to another page) don't: a click runs onClick instead.
class Recorder : public EventTarget {
 public:
  explicit Recorder(EventTarget& next) : next_(next) {}
  void Handle(std::string_view handler, Control& sender, const MouseEvent* mouse) override {
    ran.push_back(std::string(handler));
    if (!handler.ends_with("Click")) next_.Handle(handler, sender, mouse);
    else if (onClick) onClick();
  }
  std::vector<std::string> ran;
  std::function<void()> onClick;

 private:
  EventTarget& next_;
};

TEST_F(Pointer, AClickIsALeftPressAndReleaseOnTheSameLabelBeforeTheRelease) {
  Recorder recorder(*window);
  form().SetEventTarget(&recorder);
  Click("lblAZ");
  EXPECT_EQ(recorder.ran, (std::vector<std::string>{"lblAZMouseEnter", "lblAZMouseDown", "lblAZClick",
                                                    "lblAZMouseUp"}));
  recorder.ran.clear();
  Click("lblAZ", MouseButton::Right);
  EXPECT_EQ(recorder.ran, (std::vector<std::string>{"lblAZMouseDown", "lblAZMouseUp"}));
  recorder.ran.clear();
  form().PointerPress(300, 400, MouseButton::Left);
  form().PointerRelease(100, 100, MouseButton::Left);
  EXPECT_EQ(recorder.ran, (std::vector<std::string>{"lblAZMouseDown", "lblAZMouseUp", "lblAZMouseLeave"}))
      << "released elsewhere: no click";
  recorder.ran.clear();
  form().PointerMove(300, 400);
  form().PointerPress(300, 400, MouseButton::Left);
  form().PointerRelease(300, 400, MouseButton::Left);
  form().PointerPress(300, 400, MouseButton::Left, true);
  form().PointerRelease(300, 400, MouseButton::Left);
  EXPECT_EQ(recorder.ran, (std::vector<std::string>{"lblAZMouseEnter", "lblAZMouseDown", "lblAZClick", "lblAZMouseUp",
                                                    "lblAZMouseDown", "lblAZMouseUp"}))
      << "a double click clicks once";
}

// The installing page without a download ends the program at once; the others close the window.
// A click's handler that opens a box: the host's window loses the pointer to the box (a
// leave), or the pointer goes elsewhere meanwhile (moves, as over a picker beside the window).
TEST_F(Pointer, AThreeStateButtonStaysDownWhileItsClickRunsAndShowsNormalAfterIt) {
  Recorder recorder(*window);
  form().SetEventTarget(&recorder);
  const Box box = form().VisibleBox(get("lblAZ"));
  const int x = box.left + 10, y = box.top + 10;
  struct Case { const char* what; int movedToX, movedToY; const char* after; } cases[] = {
      {"a box over the window", -1, -1, "BTN_LANB200X44_NORMAL"},
      {"the pointer stays on the button", x + 30, y + 5, "BTN_LANB200X44_NORMAL"},
      {"the pointer went to the background", 20, 300, "BTN_LANB200X44_NORMAL"},
  };
  for (const Case& c : cases) {
    form().PointerMove(x, y);
    std::vector<std::string> during;
    recorder.onClick = [&] {
      if (c.movedToX < 0) form().PointerLeave();
      else form().PointerMove(c.movedToX, c.movedToY);
      during.push_back(PictureOf("imgbtn_AZ"));
      form().PointerLeave();
      during.push_back(PictureOf("imgbtn_AZ"));
    };
    form().PointerPress(x, y, MouseButton::Left);
    recorder.ran.clear();
    form().PointerRelease(x, y, MouseButton::Left);
    EXPECT_EQ(during, (std::vector<std::string>(2, "BTN_LANB200X44_DOWN"))) << c.what;
    EXPECT_EQ(PictureOf("imgbtn_AZ"), c.after) << c.what;
    const bool away = c.movedToX >= 0 && !box.Contains(c.movedToX, c.movedToY);
    EXPECT_EQ(recorder.ran.back(), away ? "lblAZMouseLeave" : "lblAZMouseUp") << c.what;
    form().PointerMove(x + 1, y + 1);
    EXPECT_EQ(PictureOf("imgbtn_AZ"), away ? "BTN_LANB200X44_HOVER" : "BTN_LANB200X44_NORMAL")
        << c.what << ": hover only after a leave and a new enter";
    form().PointerMove(1, 1);
  }
}

// A pixel belongs to a control when it lies in its box: the right and bottom edges are outside.
TEST_F(Pointer, TheRightAndBottomEdgesAreOutsideAControl) {
  const Box box = form().VisibleBox(get("lblAZ"));
  struct Case { int x, y; bool inside; } cases[] = {
      {box.left, box.top, true},           {box.Right() - 1, box.Bottom() - 1, true},
      {box.Right(), box.top + 5, false},   {box.left + 5, box.Bottom(), false},
      {box.left - 1, box.top + 5, false},  {box.left + 5, box.top - 1, false},
  };
  for (const Case& c : cases) {
    form().PointerMove(c.x, c.y);
    EXPECT_EQ(form().Hovered() == &get("lblAZ"), c.inside) << c.x << "," << c.y;
  }
  EXPECT_EQ(form().ControlAt(640, 100), nullptr) << "the window's right edge";
  EXPECT_EQ(form().ControlAt(100, 480), nullptr) << "the window's bottom edge";
  EXPECT_NE(form().ControlAt(639, 479), nullptr);
}

TEST_F(Pointer, CloseControlsOfEveryPageCloseTheWindow) {
  for (auto [page, slide, label] : {std::tuple{0, 0, "lblClose"}, {1, 0, "lblClose2"}, {2, 0, "lblClose31"},
                                    {2, 1, "lblClose32"}, {2, 2, "lblClose33"}, {3, 0, "lblClose4"}}) {
    window->ShowMainPage(page);
    form().ShowPage("nbPicBrowse", slide);
    const size_t before = host.closes + host.exits.size();
    Click(label);
    EXPECT_EQ(host.closes + host.exits.size(), before + 1) << label;
  }
  EXPECT_EQ(host.exits, (std::vector<int>{0, 0, 0}));
}

TEST_F(Pointer, SlideshowCyclesOnEveryPage) {
  EXPECT_EQ(form().PageIndex("nbPicBrowse"), 0);
  std::vector<int> shown;
  for (int tick = 0; tick < 7; ++tick) {
    window->ShowMainPage(tick % 4);
    form().TimerTick("tmrPic");
    shown.push_back(form().PageIndex("nbPicBrowse"));
  }
  EXPECT_EQ(shown, (std::vector<int>{1, 2, 0, 1, 2, 0, 1}));
  EXPECT_EQ(window->SlideIndex(), 1);
  form().SetTimerEnabled("tmrPic", false);
  form().TimerTick("tmrPic");
  EXPECT_EQ(form().PageIndex("nbPicBrowse"), 1) << "a stopped timer runs nothing";
}

TEST_F(Pointer, FillWidthIsTheWholePercentOfTheTrough) {
  EXPECT_EQ(get("lblJDT").box.width, 0);
  for (auto [percent, width] : {std::pair{0, 0}, {1, 5}, {50, 290}, {99, 574}, {100, 580}}) {
    window->SetProgressFill(percent);
    EXPECT_EQ(get("lblJDT").box.width, width) << percent << "%";
  }
  window->ShowMainPage(ostrel::app::kPageXZ);
  EXPECT_EQ(form().VisibleBox(get("lblJDT")), (Box{30, 433, 580, 6})) << "the trough clips the fill";
}

TEST_F(Pointer, ShowLoadsTheBackgroundsAndShowsTheStartPage) {
  EXPECT_EQ(form().PageIndex("nbMain"), ostrel::app::kPageAZ);
  EXPECT_EQ(PictureOf("imgBg1"), "BG_JSAZ1");
  EXPECT_TRUE(get("imgBg1").picture->Animated());
  EXPECT_EQ(PictureOf("imgBg2"), "BG_JSAZ");
  EXPECT_EQ(PictureOf("imgBg4"), "BG_JSAZ");
  EXPECT_EQ(PictureOf("imgico_bb"), "BG_BANBEN");
  EXPECT_EQ(PictureOf("imgbtn_XZ"), "(none)");
  EXPECT_EQ(AppDir.back(), '\\');
}

TEST_F(Pointer, HiddenAndOffPageControlsGetNoEvents) {
  window->ShowMainPage(ostrel::app::kPageXZ);
  EXPECT_EQ(form().ControlAt(300, 462)->Name(), "pnlXZ1") << "hidden continue control";
  form().SetVisible("lblXZ", true);
  EXPECT_EQ(form().ControlAt(300, 462)->Name(), "lblXZ");
  EXPECT_FALSE(form().IsShowing(get("lblAZ")));
  EXPECT_EQ(form().ControlAt(300, 400)->Name(), "imgBg31");
}

}  // namespace
}  // namespace ostrel::skin::test

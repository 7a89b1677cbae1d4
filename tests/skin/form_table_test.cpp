// The window as described: properties every row of the table keeps (names, owners, boxes,
// pictures, label bindings), the pages, the timers, and the order in which controls lie
// over each other.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "platform/ascii_case.h"
#include "res/resources.h"
#include "skin/Form.h"
#include "skin/UnitFormImage5.h"
#include "test_pictures.h"

namespace ostrel::skin {
namespace {

const std::vector<ControlDescription>& Rows() { return SpeedInstallWindow().controls; }

// Each row by its name, for its owner's and its picture's look-ups.
std::map<std::string_view, const ControlDescription*> ByName() {
  std::map<std::string_view, const ControlDescription*> rows;
  for (const ControlDescription& row : Rows()) rows[row.name] = &row;
  return rows;
}

bool IsButton(const ControlDescription& image) { return image.tag == 88 || image.tag == 99; }

// Names are found without regard to case, so they differ in more than case.
TEST(FormTable, NamesAreUniqueAndOwnersComeFirst) {
  std::map<std::string_view, const ControlDescription*> created;
  std::set<std::string> lowered;
  for (const ControlDescription& row : Rows()) {
    SCOPED_TRACE(std::string(row.name));
    EXPECT_TRUE(lowered.insert(platform::AsciiLowerCopy(std::string(row.name))).second);
    const bool root = row.kind == ControlKind::Timer || row.name == "nbMain";
    EXPECT_EQ(row.owner.empty(), root);
    if (!root) {
      ASSERT_TRUE(created.count(row.owner)) << "owner " << row.owner << " not created before";
      if (row.kind == ControlKind::Page) EXPECT_EQ(created.at(row.owner)->kind, ControlKind::Notebook);
    }
    created[row.name] = &row;
  }
}

// Every box lies inside its owner and so inside the 640 x 480 window. The progress fill alone
// is taller than its trough, which clips it to 6 rows.
TEST(FormTable, EveryControlLiesInsideItsOwnerAndTheWindow) {
  const auto rows = ByName();
  Form form;
  for (const ControlDescription& row : Rows()) {
    if (row.owner.empty()) continue;
    SCOPED_TRACE(std::string(row.name));
    const Box& owner = rows.at(row.owner)->box;
    const int bottom = row.name == "lblJDT" ? 20 : owner.height;
    EXPECT_TRUE(row.box.left >= 0 && row.box.top >= 0 && row.box.Right() <= owner.width && row.box.Bottom() <= bottom);
    const Box onWindow = form.AbsoluteBox(form.Get(row.name));
    EXPECT_EQ(onWindow.Intersect({0, 0, kContentWidth, kContentHeight}), onWindow);
  }
  // The progress arithmetic counts on the trough's width and a fill that starts at its left edge.
  EXPECT_EQ(rows.at("pnlJD")->box.width, 580);
  EXPECT_EQ(rows.at("lblJDT")->box, (Box{0, 0, 0, 20}));
}

// A picture path resolves to embedded pictures: one for a plain image, one a state for a
// button (88: normal, hover, down; 99: normal, down).
TEST(FormTable, EveryPicturePathResolvesToEmbeddedPictures) {
  for (const ControlDescription& row : Rows()) {
    if (row.kind != ControlKind::Image || row.hint.empty()) continue;
    std::vector<std::string> paths{std::string(row.hint)};
    if (IsButton(row)) {
      paths = {std::string(row.hint) + "_normal", std::string(row.hint) + "_down"};
      if (row.tag == 88) paths.push_back(std::string(row.hint) + "_hover");
    }
    for (const std::string& path : paths)
      EXPECT_NE(res::Find(ResourceNameOf(path + ".png")), nullptr) << row.name << ": " << path;
  }
}

// A label with a Hint names the button under it; a press set drives a three-state button, a
// hover set a two-state one. Whatever is clicked shows a hand.
TEST(FormTable, LabelsDriveTheButtonsTheyName) {
  const auto rows = ByName();
  for (const ControlDescription& row : Rows()) {
    SCOPED_TRACE(std::string(row.name));
    if (!row.on.click.empty()) EXPECT_TRUE(row.handPointer);
    if (row.hint.empty() || row.kind != ControlKind::Label) continue;
    ASSERT_TRUE(rows.count(row.hint)) << row.hint;
    const ControlDescription& image = *rows.at(row.hint);
    EXPECT_EQ(image.kind, ControlKind::Image);
    EXPECT_EQ(image.tag, row.on.mouseDown.empty() ? 99 : 88);
    EXPECT_FALSE(row.on.mouseEnter.empty() || row.on.mouseLeave.empty());
  }
}

TEST(FormTable, PagesPanelsAndTimers) {
  Form form;
  struct Page { const char* notebook; int index; const char* caption; const char* panel; };
  for (const Page& p : {Page{"nbMain", 0, "AZ", "pnlAZ"}, Page{"nbMain", 1, "SZ", "pnlXZ"},
                        Page{"nbMain", 2, "XZ", "pnlInstalling"}, Page{"nbMain", 3, "WC", "pnlWC"},
                        Page{"nbPicBrowse", 0, "Default", "pnlPic1"}, Page{"nbPicBrowse", 1, "Pic2", "pnlPic2"},
                        Page{"nbPicBrowse", 2, "pic3", "pnlPic3"}}) {
    const Control& page = form.Controls()[form.Get(p.notebook).children.at(p.index)];
    EXPECT_EQ(page.text, p.caption);
    EXPECT_EQ(form.Controls()[page.children.at(0)].Name(), p.panel);
  }
  struct TimerRow { const char* name; int interval; bool running; };
  for (const TimerRow& t : {TimerRow{"tmr1", 100, false}, TimerRow{"tmrPic", 4000, true},
                            TimerRow{"tmr2", 1000, false}, TimerRow{"tmr3", 100, false}}) {
    EXPECT_EQ(form.Get(t.name).description->interval, t.interval) << t.name;
    EXPECT_EQ(form.Get(t.name).enabled, t.running) << t.name;
  }
  EXPECT_EQ(form.Get("pnlJD").description->fill.value, 0xF3F3F3u);
  EXPECT_TRUE(form.Get("lblJDT").description->opaque);
  EXPECT_EQ(form.Get("lblJDT").description->fill.value, 0x5D9EF5u);
}

// A page's controls in the order they are painted, over each other.
TEST(FormTable, StackingOrderOfTheStartPage) {
  Form form;
  std::vector<std::string_view> names;
  for (int i : form.Get("pnlAZ").children) names.push_back(form.Controls()[i].Name());
  EXPECT_EQ(names, (std::vector<std::string_view>{"imgBg1", "imgbtn_AZ", "lblAZ", "lblBT", "lblVersion", "imgClose",
                                                  "lblClose", "lblTS1", "imgico_bb", "lbl_ts"}));
}

TEST(FormTable, NamesAreFoundWithoutRegardToCase) {
  Form form;
  EXPECT_EQ(form.Find("IMGBTN_az"), &form.Get("imgbtn_AZ"));
  EXPECT_EQ(form.Find("nothing"), nullptr);
  EXPECT_THROW(form.Get("nothing"), std::out_of_range);
}

}  // namespace
}  // namespace ostrel::skin

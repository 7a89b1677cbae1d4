// The window as created: every control's owner, box, texts, font, colour, visibility and
// pointer, and the order in which controls lie over each other.
#include <gtest/gtest.h>

#include "skin/Form.h"
#include "test_pictures.h"

namespace ostrel::skin {
namespace {

struct Row {
  const char* name;
  const char* owner;
  Box box;
  const char* text;
  int font;
  uint32_t colour;
  bool hidden;
  bool hand;
};

// Labels and the edit box with their texts; other controls with no text.
const Row kRows[] = {
    {"imgBg1", "pnlAZ", {0, 0, 640, 480}, "", 0, 0, false, false},
    {"imgbtn_AZ", "pnlAZ", {220, 391, 200, 44}, "", 0, 0, false, false},
    {"lblAZ", "pnlAZ", {220, 391, 200, 44}, "极速安装", 16, 0xFFFFFF, false, true},
    {"lblBT", "pnlAZ", {206, 56, 225, 28}, "Ostrel             全新上线", 21, 0x333333, false, false},
    {"lblVersion", "pnlAZ", {290, 119, 60, 27}, "V1.0", 20, 0x666666, true, false},
    {"imgClose", "pnlAZ", {613, 10, 16, 16}, "", 0, 0, false, false},
    {"lblClose", "pnlAZ", {613, 10, 16, 16}, "", 0, 0, false, true},
    {"lblTS1", "pnlAZ", {224, 92, 192, 17}, "始终致力于为您提供更好的客户体验", 12, 0x999999, false, false},
    {"imgico_bb", "pnlAZ", {274, 62, 58, 20}, "", 0, 0, false, false},
    {"lbl_ts", "pnlAZ", {274, 62, 58, 20}, "Norvik专版", 12, 0xFFFFFF, false, false},
    {"imgBg2", "pnlXZ", {0, 0, 640, 480}, "", 0, 0, false, false},
    {"imgbtn_LJAZ", "pnlXZ", {220, 391, 200, 44}, "", 0, 0, false, false},
    {"lblLJAZ", "pnlXZ", {220, 391, 200, 44}, "立即安装", 14, 0xFFFFFF, false, true},
    {"lblFH", "pnlXZ", {446, 402, 28, 20}, "返回", 14, 0x666666, false, true},
    {"imgbtn_LL", "pnlXZ", {479, 295, 91, 36}, "", 0, 0, false, false},
    {"lblLL", "pnlXZ", {479, 295, 90, 36}, "浏览", 14, 0x333333, false, true},
    {"imginput_azlj", "pnlXZ", {169, 295, 300, 36}, "", 0, 0, false, false},
    {"lblSZ3", "pnlXZ", {90, 301, 70, 20}, "安装位置：", 14, 0x333333, false, false},
    {"imgSettingIcon", "pnlXZ", {275, 57, 90, 90}, "", 0, 0, false, false},
    {"lbl2", "pnlXZ", {220, 159, 200, 28}, "欢迎使用OstrelPro", 21, 0x333333, false, false},
    {"lblVersion2", "pnlXZ", {290, 204, 60, 27}, "V1.0", 20, 0x666666, false, false},
    {"imgClose2", "pnlXZ", {613, 10, 16, 16}, "", 0, 0, false, false},
    {"lblClose2", "pnlXZ", {613, 10, 16, 16}, "", 0, 0, false, true},
    {"edtAZLJ", "pnlXZ", {174, 303, 292, 20}, "", 14, 0x333333, false, false},
    {"pnlXZ1", "pnlInstalling", {0, 415, 640, 65}, "", 0, 0, false, false},
    {"imgbtn_XZ", "pnlXZ1", {280, 33, 80, 28}, "", 0, 0, true, false},
    {"lblDownLoadState", "pnlXZ1", {30, 35, 129, 17}, "正在安装Ostrel客户端...", 12, 0x666666, false, true},
    {"lblJD", "pnlXZ1", {174, 35, 18, 17}, "0%", 12, 0x0481E9, false, false},
    {"lblErrorHint", "pnlXZ1", {71, 0, 497, 17},
     "网络不稳定，请点击“继续安装”，如进度条不动，请尝试重启路由器！", 12, 0xFF0000, true, false},
    {"lblXZ", "pnlXZ1", {280, 33, 80, 28}, "继续安装", 12, 0x333333, true, true},
    {"pnlJD", "pnlXZ1", {30, 18, 580, 6}, "", 0, 0, false, false},
    {"lblJDT", "pnlJD", {0, 0, 0, 20}, "", 0, 0, false, false},
    {"nbPicBrowse", "pnlInstalling", {0, 0, 640, 415}, "", 0, 0, false, false},
    {"imgBg31", "pnlPic1", {0, 0, 640, 415}, "", 0, 0, false, false},
    {"imgClose31", "pnlPic1", {616, 14, 10, 10}, "", 0, 0, false, false},
    {"lblClose31", "pnlPic1", {616, 14, 10, 10}, "", 0, 0, false, true},
    {"img32", "pnlPic2", {0, 0, 640, 415}, "", 0, 0, false, false},
    {"lblClose32", "pnlPic2", {616, 14, 10, 10}, "", 0, 0, false, true},
    {"img33", "pnlPic3", {0, 0, 640, 415}, "", 0, 0, false, false},
    {"lblClose33", "pnlPic3", {616, 14, 10, 10}, "", 0, 0, false, true},
    {"imgBg4", "pnlWC", {0, 0, 640, 480}, "", 0, 0, false, false},
    {"imgbtn_WC", "pnlWC", {220, 301, 200, 44}, "", 0, 0, false, false},
    {"lblWC", "pnlWC", {220, 301, 200, 44}, "立即体验", 14, 0xFFFFFF, false, true},
    {"imgWCIcon", "pnlWC", {298, 135, 47, 48}, "", 0, 0, false, false},
    {"lbl3", "pnlWC", {282, 195, 76, 25}, "安装完成", 19, 0x666666, false, false},
    {"imgClose4", "pnlWC", {613, 10, 16, 16}, "", 0, 0, false, false},
    {"lblClose4", "pnlWC", {613, 10, 16, 16}, "", 0, 0, false, true},
};

TEST(FormTable, EveryControlAsCreated) {
  Form form;
  for (const Row& row : kRows) {
    SCOPED_TRACE(row.name);
    Control& c = form.Get(row.name);
    ASSERT_GE(c.parent, 0);
    EXPECT_EQ(form.Controls()[c.parent].Name(), row.owner);
    EXPECT_EQ(c.box, row.box);
    EXPECT_EQ(c.text, row.text);
    EXPECT_EQ(c.visible, !row.hidden);
    EXPECT_EQ(c.description->handPointer, row.hand);
    if (row.font) {
      EXPECT_EQ(c.description->fontHeight, row.font);
      EXPECT_EQ(c.colour.value, row.colour);
    }
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

TEST(FormTable, SkinPathsKindsAndLabelBindings) {
  Form form;
  struct Skin { const char* image; const char* hint; int tag; const char* label; };
  for (const Skin& s : {Skin{"imgbtn_AZ", "PubBtn\\btn_LanB200x44", 88, "lblAZ"},
                        Skin{"imgbtn_LJAZ", "PubBtn\\btn_LanB200x44", 88, "lblLJAZ"},
                        Skin{"imgbtn_WC", "PubBtn\\btn_LanB200x44", 88, "lblWC"},
                        Skin{"imgbtn_LL", "PubBtn\\btn_BaiB90x36", 99, "lblLL"},
                        Skin{"imgClose", "Sys\\btn_guanbi", 99, "lblClose"},
                        Skin{"imgClose2", "SYS\\btn_GuanBi", 99, "lblClose2"},
                        Skin{"imgClose4", "SYS\\btn_GuanBi", 99, "lblClose4"},
                        Skin{"imgClose31", "SYS\\btn_guanbi_Blue", 99, "lblClose31"},
                        Skin{"imgbtn_XZ", "", 88, nullptr}, Skin{"imgBg31", "ZJM\\bg31", 0, nullptr},
                        Skin{"imgWCIcon", "ZJM\\icon_anzhuangwancheng", 0, nullptr},
                        Skin{"imgBg1", "", 0, nullptr}}) {
    EXPECT_EQ(form.Get(s.image).Hint(), s.hint) << s.image;
    EXPECT_EQ(form.Get(s.image).Tag(), s.tag) << s.image;
    if (s.label) {
      EXPECT_EQ(form.Get(s.label).Hint(), s.image) << s.label;
    }
  }
  EXPECT_EQ(form.Get("lblLL").Tag(), 99);
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

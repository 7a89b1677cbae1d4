// frmSpeedInstall, control by control, in creation and stacking order.
#include "skin/FormDescription.h"

namespace ostrel::skin {
namespace {

using K = ControlKind;
using P = TextPlacement;
constexpr Rgb kWhite{0xFFFFFF};

ControlDescription Make(K kind, std::string_view name, std::string_view owner, Box box) {
  ControlDescription d;
  d.kind = kind, d.name = name, d.owner = owner, d.box = box;
  return d;
}
ControlDescription Notebook(std::string_view name, std::string_view owner, Box box) {
  return Make(K::Notebook, name, owner, box);
}
ControlDescription Page(std::string_view caption, std::string_view notebook, Box box) {
  ControlDescription d = Make(K::Page, caption, notebook, box);
  d.text = caption;
  return d;
}
ControlDescription Panel(std::string_view name, std::string_view owner, Box box, Rgb fill = kWhite) {
  ControlDescription d = Make(K::Panel, name, owner, box);
  d.fill = fill;
  return d;
}
ControlDescription Image(std::string_view name, std::string_view owner, Box box, std::string_view skin = {},
                         int32_t tag = 0) {
  return Make(K::Image, name, owner, box).Hint(skin).Tag(tag);
}
ControlDescription Label(std::string_view name, std::string_view owner, Box box, std::string_view text = {},
                         P placement = P::None, int fontHeight = 14, Rgb colour = {0x333333}) {
  ControlDescription d = Make(K::Label, name, owner, box);
  d.text = text, d.placement = placement, d.fontHeight = fontHeight, d.colour = colour;
  return d;
}
ControlDescription Edit(std::string_view name, std::string_view owner, Box box) {
  ControlDescription d = Make(K::Edit, name, owner, box);
  d.placement = P::Left;
  return d;
}
ControlDescription Timer(std::string_view name, int interval, std::string_view handler) {
  ControlDescription d = Make(K::Timer, name, {}, {});
  d.interval = interval, d.on.timer = handler;
  return d;
}
// The label over a three-state button: the press set.
ControlDescription PressSet(ControlDescription d, std::string_view image) {
  return d.Hint(image).Hand().Down("lblAZMouseDown").Up("lblAZMouseUp").Enter("lblAZMouseEnter").Leave(
      "lblAZMouseLeave");
}
// The label over a two-state button: the hover set.
ControlDescription HoverSet(ControlDescription d, std::string_view image) {
  return d.Hint(image).Hand().Enter("lblCloseMouseEnter").Leave("lblCloseMouseLeave");
}
ControlDescription Background(ControlDescription d) { return d.Down("imgtopMouseDown"); }
ControlDescription Opaque(ControlDescription d, Rgb fill) {
  d.opaque = true, d.fill = fill;
  return d;
}

WindowDescription Build() {
  const Box kAll{0, 0, 640, 480}, kSlide{0, 0, 640, 415};
  const Box kClose{613, 10, 16, 16}, kSlideClose{616, 14, 10, 10}, kBlue{220, 391, 200, 44};
  const Box kTry{220, 301, 200, 44};
  return {"极速安装", {0xC0C0C0}, {
    Notebook("nbMain", "", kAll),
    Page("AZ", "nbMain", kAll),
    Panel("pnlAZ", "AZ", kAll),
    Background(Image("imgBg1", "pnlAZ", kAll)),
    Image("imgbtn_AZ", "pnlAZ", kBlue, "PubBtn\\btn_LanB200x44", 88),
    PressSet(Label("lblAZ", "pnlAZ", kBlue, "极速安装", P::Centred, 16, kWhite), "imgbtn_AZ").Click("lblAZClick"),
    Label("lblBT", "pnlAZ", {206, 56, 225, 28}, "Ostrel             全新上线", P::Auto, 21, {0x333333}),
    Label("lblVersion", "pnlAZ", {290, 119, 60, 27}, "V1.0", P::Centred, 20, {0x666666}).Hidden(),
    Image("imgClose", "pnlAZ", kClose, "Sys\\btn_guanbi", 99),
    HoverSet(Label("lblClose", "pnlAZ", kClose), "imgClose").Click("lblCloseClick"),
    Label("lblTS1", "pnlAZ", {224, 92, 192, 17}, "始终致力于为您提供更好的客户体验", P::Auto, 12, {0x999999}),
    Background(Image("imgico_bb", "pnlAZ", {274, 62, 58, 20})),
    Label("lbl_ts", "pnlAZ", {274, 62, 58, 20}, "Norvik专版", P::Centred, 12, kWhite),

    Page("SZ", "nbMain", kAll),
    Panel("pnlXZ", "SZ", kAll),
    Background(Image("imgBg2", "pnlXZ", kAll)),
    Image("imgbtn_LJAZ", "pnlXZ", kBlue, "PubBtn\\btn_LanB200x44", 88),
    PressSet(Label("lblLJAZ", "pnlXZ", kBlue, "立即安装", P::Centred, 14, kWhite), "imgbtn_LJAZ").Click("lblLJAZClick"),
    Label("lblFH", "pnlXZ", {446, 402, 28, 20}, "返回", P::Auto, 14, {0x666666})
        .Hand().Click("lblFHClick").Enter("lblFHMouseEnter").Leave("lblFHMouseLeave"),
    Image("imgbtn_LL", "pnlXZ", {479, 295, 91, 36}, "PubBtn\\btn_BaiB90x36", 99),
    HoverSet(Label("lblLL", "pnlXZ", {479, 295, 90, 36}, "浏览", P::Centred, 14, {0x333333}), "imgbtn_LL")
        .Tag(99).Click("lblLLClick"),
    Image("imginput_azlj", "pnlXZ", {169, 295, 300, 36}, "ZJM\\imput_300x36"),
    Label("lblSZ3", "pnlXZ", {90, 301, 70, 20}, "安装位置：", P::Auto, 14, {0x333333}),
    Image("imgSettingIcon", "pnlXZ", {275, 57, 90, 90}, "ZJM\\logo_90x90"),
    Label("lbl2", "pnlXZ", {220, 159, 200, 28}, "欢迎使用OstrelPro", P::Centred, 21, {0x333333}),
    Label("lblVersion2", "pnlXZ", {290, 204, 60, 27}, "V1.0", P::Centred, 20, {0x666666}),
    Image("imgClose2", "pnlXZ", kClose, "SYS\\btn_GuanBi", 99),
    HoverSet(Label("lblClose2", "pnlXZ", kClose), "imgClose2").Click("lblCloseClick"),
    Edit("edtAZLJ", "pnlXZ", {174, 303, 292, 20}),

    Page("XZ", "nbMain", kAll),
    Panel("pnlInstalling", "XZ", kAll),
    Panel("pnlXZ1", "pnlInstalling", {0, 415, 640, 65}),
    Image("imgbtn_XZ", "pnlXZ1", {280, 33, 80, 28}, {}, 88).Hidden(),
    Label("lblDownLoadState", "pnlXZ1", {30, 35, 129, 17}, "正在安装Ostrel客户端...", P::Auto, 12, {0x666666}).Hand(),
    Label("lblJD", "pnlXZ1", {174, 35, 18, 17}, "0%", P::Auto, 12, {0x0481E9}),
    Label("lblErrorHint", "pnlXZ1", {71, 0, 497, 17},
          "网络不稳定，请点击“继续安装”，如进度条不动，请尝试重启路由器！", P::CentredAcross, 12, {0xFF0000}).Hidden(),
    Label("lblXZ", "pnlXZ1", {280, 33, 80, 28}, "继续安装", P::Centred, 12, {0x333333})
        .Hidden().Hand().Click("lblXZClick"),
    Panel("pnlJD", "pnlXZ1", {30, 18, 580, 6}, {0xF3F3F3}),
    Opaque(Label("lblJDT", "pnlJD", {0, 0, 0, 20}), {0x5D9EF5}),
    Notebook("nbPicBrowse", "pnlInstalling", kSlide),
    Page("Default", "nbPicBrowse", kSlide),
    Panel("pnlPic1", "Default", kSlide),
    Background(Image("imgBg31", "pnlPic1", kSlide, "ZJM\\bg31")),
    Image("imgClose31", "pnlPic1", kSlideClose, "SYS\\btn_guanbi_Blue", 99),
    HoverSet(Label("lblClose31", "pnlPic1", kSlideClose), "imgClose31").Click("lblCloseClick"),
    Page("Pic2", "nbPicBrowse", kSlide),
    Panel("pnlPic2", "Pic2", kSlide),
    Background(Image("img32", "pnlPic2", kSlide, "ZJM\\bg32")),
    Image("imgClose32", "pnlPic2", kSlideClose, "SYS\\btn_guanbi_Blue", 99),
    HoverSet(Label("lblClose32", "pnlPic2", kSlideClose), "imgClose32").Click("lblCloseClick"),
    Page("pic3", "nbPicBrowse", kSlide),
    Panel("pnlPic3", "pic3", kSlide),
    Background(Image("img33", "pnlPic3", kSlide, "ZJM\\bg33")),
    Image("imgClose33", "pnlPic3", kSlideClose, "SYS\\btn_guanbi_Blue", 99),
    HoverSet(Label("lblClose33", "pnlPic3", kSlideClose), "imgClose33").Click("lblCloseClick"),

    Page("WC", "nbMain", kAll),
    Panel("pnlWC", "WC", kAll),
    Background(Image("imgBg4", "pnlWC", kAll)),
    Image("imgbtn_WC", "pnlWC", kTry, "PubBtn\\btn_LanB200x44", 88),
    PressSet(Label("lblWC", "pnlWC", kTry, "立即体验", P::Centred, 14, kWhite), "imgbtn_WC").Click("lblWCClick"),
    Image("imgWCIcon", "pnlWC", {298, 135, 47, 48}, "ZJM\\icon_anzhuangwancheng"),
    Label("lbl3", "pnlWC", {282, 195, 76, 25}, "安装完成", P::Auto, 19, {0x666666}),
    Image("imgClose4", "pnlWC", kClose, "SYS\\btn_GuanBi", 99),
    HoverSet(Label("lblClose4", "pnlWC", kClose), "imgClose4").Click("lblCloseClick"),

    Timer("tmr1", 100, "tmr1Timer").Stopped(),
    Timer("tmrPic", 4000, "tmrPicTimer"),
    Timer("tmr2", 1000, "tmr2Timer").Stopped(),
    Timer("tmr3", 100, "tmr3Timer").Stopped(),
  }};
}

}  // namespace

const WindowDescription& SpeedInstallWindow() {
  static const WindowDescription window = Build();
  return window;
}

}  // namespace ostrel::skin

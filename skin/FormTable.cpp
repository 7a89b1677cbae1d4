// frmSpeedInstall, control by control, in creation and stacking order.
#include "skin/FormDescription.h"

#include "skin/ControlNames.h"

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
                         int32_t tag = kPlainImage) {
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
    Notebook(ctl::nbMain, "", kAll),
    Page(ctl::AZ, ctl::nbMain, kAll),
    Panel(ctl::pnlAZ, ctl::AZ, kAll),
    Background(Image(ctl::imgBg1, ctl::pnlAZ, kAll)),
    Image(ctl::imgbtn_AZ, ctl::pnlAZ, kBlue, "PubBtn\\btn_LanB200x44", kThreeStateButton),
    PressSet(Label(ctl::lblAZ, ctl::pnlAZ, kBlue, "极速安装", P::Centred, 16, kWhite), ctl::imgbtn_AZ).Click("lblAZClick"),
    Label(ctl::lblBT, ctl::pnlAZ, {206, 56, 225, 28}, "Ostrel             全新上线", P::Auto, 21, {0x333333}),
    Label(ctl::lblVersion, ctl::pnlAZ, {290, 119, 60, 27}, "V1.0", P::Centred, 20, {0x666666}).Hidden(),
    Image(ctl::imgClose, ctl::pnlAZ, kClose, "Sys\\btn_guanbi", kTwoStateButton),
    HoverSet(Label(ctl::lblClose, ctl::pnlAZ, kClose), ctl::imgClose).Click("lblCloseClick"),
    Label(ctl::lblTS1, ctl::pnlAZ, {224, 92, 192, 17}, "始终致力于为您提供更好的客户体验", P::Auto, 12, {0x999999}),
    Background(Image(ctl::imgico_bb, ctl::pnlAZ, {274, 62, 58, 20})),
    Label(ctl::lbl_ts, ctl::pnlAZ, {274, 62, 58, 20}, "Norvik专版", P::Centred, 12, kWhite),

    Page(ctl::SZ, ctl::nbMain, kAll),
    Panel(ctl::pnlXZ, ctl::SZ, kAll),
    Background(Image(ctl::imgBg2, ctl::pnlXZ, kAll)),
    Image(ctl::imgbtn_LJAZ, ctl::pnlXZ, kBlue, "PubBtn\\btn_LanB200x44", kThreeStateButton),
    PressSet(Label(ctl::lblLJAZ, ctl::pnlXZ, kBlue, "立即安装", P::Centred, 14, kWhite), ctl::imgbtn_LJAZ).Click("lblLJAZClick"),
    Label(ctl::lblFH, ctl::pnlXZ, {446, 402, 28, 20}, "返回", P::Auto, 14, {0x666666})
        .Hand().Click("lblFHClick").Enter("lblFHMouseEnter").Leave("lblFHMouseLeave"),
    Image(ctl::imgbtn_LL, ctl::pnlXZ, {479, 295, 91, 36}, "PubBtn\\btn_BaiB90x36", kTwoStateButton),
    HoverSet(Label(ctl::lblLL, ctl::pnlXZ, {479, 295, 90, 36}, "浏览", P::Centred, 14, {0x333333}), ctl::imgbtn_LL)
        .Tag(kTwoStateButton).Click("lblLLClick"),
    Image(ctl::imginput_azlj, ctl::pnlXZ, {169, 295, 300, 36}, "ZJM\\imput_300x36"),
    Label(ctl::lblSZ3, ctl::pnlXZ, {90, 301, 70, 20}, "安装位置：", P::Auto, 14, {0x333333}),
    Image(ctl::imgSettingIcon, ctl::pnlXZ, {275, 57, 90, 90}, "ZJM\\logo_90x90"),
    Label(ctl::lbl2, ctl::pnlXZ, {220, 159, 200, 28}, "欢迎使用OstrelPro", P::Centred, 21, {0x333333}),
    Label(ctl::lblVersion2, ctl::pnlXZ, {290, 204, 60, 27}, "V1.0", P::Centred, 20, {0x666666}),
    Image(ctl::imgClose2, ctl::pnlXZ, kClose, "SYS\\btn_GuanBi", kTwoStateButton),
    HoverSet(Label(ctl::lblClose2, ctl::pnlXZ, kClose), ctl::imgClose2).Click("lblCloseClick"),
    Edit(ctl::edtAZLJ, ctl::pnlXZ, {174, 303, 292, 20}),

    Page(ctl::XZ, ctl::nbMain, kAll),
    Panel(ctl::pnlInstalling, ctl::XZ, kAll),
    Panel(ctl::pnlXZ1, ctl::pnlInstalling, {0, 415, 640, 65}),
    Image(ctl::imgbtn_XZ, ctl::pnlXZ1, {280, 33, 80, 28}, {}, kThreeStateButton).Hidden(),
    Label(ctl::lblDownLoadState, ctl::pnlXZ1, {30, 35, 129, 17}, "正在安装Ostrel客户端...", P::Auto, 12, {0x666666}).Hand(),
    Label(ctl::lblJD, ctl::pnlXZ1, {174, 35, 18, 17}, "0%", P::Auto, 12, {0x0481E9}),
    Label(ctl::lblErrorHint, ctl::pnlXZ1, {71, 0, 497, 17},
          "网络不稳定，请点击“继续安装”，如进度条不动，请尝试重启路由器！", P::CentredAcross, 12, {0xFF0000}).Hidden(),
    Label(ctl::lblXZ, ctl::pnlXZ1, {280, 33, 80, 28}, "继续安装", P::Centred, 12, {0x333333})
        .Hidden().Hand().Click("lblXZClick"),
    Panel(ctl::pnlJD, ctl::pnlXZ1, {30, 18, 580, 6}, {0xF3F3F3}),
    Opaque(Label(ctl::lblJDT, ctl::pnlJD, {0, 0, 0, 20}), {0x5D9EF5}),
    Notebook(ctl::nbPicBrowse, ctl::pnlInstalling, kSlide),
    Page(ctl::Default, ctl::nbPicBrowse, kSlide),
    Panel(ctl::pnlPic1, ctl::Default, kSlide),
    Background(Image(ctl::imgBg31, ctl::pnlPic1, kSlide, "ZJM\\bg31")),
    Image(ctl::imgClose31, ctl::pnlPic1, kSlideClose, "SYS\\btn_guanbi_Blue", kTwoStateButton),
    HoverSet(Label(ctl::lblClose31, ctl::pnlPic1, kSlideClose), ctl::imgClose31).Click("lblCloseClick"),
    Page(ctl::Pic2, ctl::nbPicBrowse, kSlide),
    Panel(ctl::pnlPic2, ctl::Pic2, kSlide),
    Background(Image(ctl::img32, ctl::pnlPic2, kSlide, "ZJM\\bg32")),
    Image(ctl::imgClose32, ctl::pnlPic2, kSlideClose, "SYS\\btn_guanbi_Blue", kTwoStateButton),
    HoverSet(Label(ctl::lblClose32, ctl::pnlPic2, kSlideClose), ctl::imgClose32).Click("lblCloseClick"),
    Page(ctl::pic3, ctl::nbPicBrowse, kSlide),
    Panel(ctl::pnlPic3, ctl::pic3, kSlide),
    Background(Image(ctl::img33, ctl::pnlPic3, kSlide, "ZJM\\bg33")),
    Image(ctl::imgClose33, ctl::pnlPic3, kSlideClose, "SYS\\btn_guanbi_Blue", kTwoStateButton),
    HoverSet(Label(ctl::lblClose33, ctl::pnlPic3, kSlideClose), ctl::imgClose33).Click("lblCloseClick"),

    Page(ctl::WC, ctl::nbMain, kAll),
    Panel(ctl::pnlWC, ctl::WC, kAll),
    Background(Image(ctl::imgBg4, ctl::pnlWC, kAll)),
    Image(ctl::imgbtn_WC, ctl::pnlWC, kTry, "PubBtn\\btn_LanB200x44", kThreeStateButton),
    PressSet(Label(ctl::lblWC, ctl::pnlWC, kTry, "立即体验", P::Centred, 14, kWhite), ctl::imgbtn_WC).Click("lblWCClick"),
    Image(ctl::imgWCIcon, ctl::pnlWC, {298, 135, 47, 48}, "ZJM\\icon_anzhuangwancheng"),
    Label(ctl::lbl3, ctl::pnlWC, {282, 195, 76, 25}, "安装完成", P::Auto, 19, {0x666666}),
    Image(ctl::imgClose4, ctl::pnlWC, kClose, "SYS\\btn_GuanBi", kTwoStateButton),
    HoverSet(Label(ctl::lblClose4, ctl::pnlWC, kClose), ctl::imgClose4).Click("lblCloseClick"),

    Timer(ctl::tmr1, 100, "tmr1Timer").Stopped(),
    Timer(ctl::tmrPic, 4000, "tmrPicTimer"),
    Timer(ctl::tmr2, 1000, "tmr2Timer").Stopped(),
    Timer(ctl::tmr3, 100, "tmr3Timer").Stopped(),
  }};
}

}  // namespace

const WindowDescription& SpeedInstallWindow() {
  static const WindowDescription window = Build();
  return window;
}

}  // namespace ostrel::skin

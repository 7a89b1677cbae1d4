// ostrel-artgen OUTPUT_DIR: draws the installer's 18 pictures and writes them into OUTPUT_DIR,
// each named after its resource (BG_JSAZ1.gif, BTN_LANB200X44_NORMAL.png, ...), and the
// program's icon MAINICON.ico.
#include <QGuiApplication>
#include <cstdio>
#include <functional>
#include <string>

#include "tools/artgen/gif_output.h"
#include "tools/artgen/ico_output.h"
#include "tools/artgen/pictures.h"
#include "tools/artgen/png_output.h"

namespace ostrel::artgen {
namespace {

struct Still {
  const char* resource;
  std::function<QImage()> draw;
};

const Still kStills[] = {
    {"BG_JSAZ", PageBackground},
    {"BG_BANBEN", EditionBadge},
    {"BG31", DeclarationSlide},
    {"BG32", InvoiceSlide},
    {"BG33", AccountsSlide},
    {"BTN_LANB200X44_NORMAL", [] { return BlueButton(0x2E7BFB); }},
    {"BTN_LANB200X44_HOVER", [] { return BlueButton(0x468CFF); }},
    {"BTN_LANB200X44_DOWN", [] { return BlueButton(0x2A6FE3); }},
    {"BTN_BAIB90X36_NORMAL", [] { return WhiteButton(0xFFFFFF, 0xC7C7C7); }},
    {"BTN_BAIB90X36_DOWN", [] { return WhiteButton(0xF3F3F3, 0xB8B8B8); }},
    {"BTN_GUANBI_NORMAL", [] { return CloseCross(0x333333); }},
    {"BTN_GUANBI_DOWN", [] { return CloseCross(0x3887FF); }},
    {"BTN_GUANBI_BLUE_NORMAL", [] { return SmallCloseCross(0xFFFFFF, 200); }},
    {"BTN_GUANBI_BLUE_DOWN", [] { return SmallCloseCross(0xACCDF9, 255); }},
    {"IMPUT_300X36", InputFrame},
    {"LOGO_90X90", ProductLogo},
    {"ICON_ANZHUANGWANCHENG", CompletionMark},
};

bool Report(const std::string& path, const std::string& failure) {
  if (failure.empty()) {
    std::printf("%s\n", path.c_str());
    return true;
  }
  std::fprintf(stderr, "ostrel-artgen: %s: %s\n", path.c_str(), failure.c_str());
  return false;
}

}  // namespace
}  // namespace ostrel::artgen

int main(int argc, char** argv) {
  using namespace ostrel::artgen;
  if (argc != 2) {
    std::fprintf(stderr, "usage: ostrel-artgen OUTPUT_DIR\n");
    return 2;
  }
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication application(argc, argv);  // fonts for the slides' headlines
  const std::string folder = std::string(argv[1]) + "/";

  bool ok = true;
  for (const Still& still : kStills) {
    const std::string path = folder + still.resource + ".png";
    ok = Report(path, WritePng(still.draw(), path)) && ok;
  }
  const std::string gif = folder + "BG_JSAZ1.gif";
  ok = Report(gif, WriteGif(StartAnimation(), gif)) && ok;
  const std::string icon = folder + "MAINICON.ico";
  ok = Report(icon, WriteIco({ProgramIcon(16), ProgramIcon(24), ProgramIcon(32), ProgramIcon(48), ProgramIcon(256)}, icon)) && ok;
  return ok ? 0 : 1;
}

// ostrel-skin-bench [RUNS]: how long the window's model and loader take. Prints the time
// of the show handler's loading, of one full paint of each page into an offscreen image
// through the Qt canvas, of a frame of the start page's animation composed and painted when it
// is due, and of one button state change (decode + repaint of its box).
// Figures are medians over RUNS (default 200). The servers refuse at once (127.0.0.1:1).
#include <QGuiApplication>
#include <QPainter>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include "res/resources.h"
#include "skin/PngDecode.h"
#include "skin/UnitFormImage5.h"
#include "tools/screens/page_renderer.h"

namespace {

double MedianMs(int runs, const std::function<void()>& work) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    auto start = std::chrono::steady_clock::now();
    work();
    times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
  setenv("OSTREL_DOWNLOAD_SERVER", "http://127.0.0.1:1/", 1);
  setenv("OSTREL_WEB_SERVER", "http://127.0.0.1:1/", 1);
  setenv("OSTREL_WEB_SERVER_ALT", "http://127.0.0.1:1/", 1);
  if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QGuiApplication application(argc, argv);
  ostrel::screens::HeadlessHost host;
  double showMs = MedianMs(std::max(1, runs / 20), [&] {
    TfrmSpeedInstall window(host);
    window.FormShow();
  });
  const int few = std::max(1, runs / 20);
  ostrel::skin::Form scratch;
  double gifMs = MedianMs(few, [&] { LoadGifFromResource("BG_JSAZ1", scratch.Get("imgBg1")); });
  double pngMs = MedianMs(few, [] { ostrel::skin::DecodePng(ostrel::res::Find("BG31")->Bytes()); });
  ostrel::screens::PageRenderer renderer;
  TfrmSpeedInstall& window = renderer.Window();
  ostrel::skin::Form& form = window.Form();
  std::printf("show handler (16 PNGs, 3 backgrounds, the 48-frame GIF): %8.3f ms\n", showMs);
  std::printf("  of which loading BG_JSAZ1 (48 frames of 640 x 480):      %8.3f ms\n", gifMs);
  std::printf("  of which decoding one 640 x 480 PNG (BG31):             %8.3f ms\n", pngMs);

  QImage image(ostrel::skin::kContentWidth, ostrel::skin::kContentHeight, QImage::Format_ARGB32_Premultiplied);
  const char* pages[] = {"AZ", "SZ", "XZ", "WC"};
  for (int page = 0; page < 4; ++page) {
    window.ShowMainPage(page);
    double ms = MedianMs(runs, [&] {
      QPainter painter(&image);
      ostrel::app::qt::QtCanvas canvas(&painter);
      form.Paint(canvas);
    });
    std::printf("full paint of page %s:                                   %8.3f ms\n", pages[page], ms);
  }

  // Two cycles of the animation, a frame every 40 ms of a clock the bench moves, the loop's
  // wrap included: each paint composes the frame that is due.
  window.ShowMainPage(ostrel::app::kPageAZ);
  int64_t clock = 0;
  form.SetClock([&] { return clock; });
  LoadGifImage("res\\ZJM\\bg_JSAZ1.gif", form.Get("imgBg1"));
  std::vector<double> frameTimes;
  for (int frame = 0; frame < 96; ++frame) {
    clock = frame * 40;
    frameTimes.push_back(MedianMs(1, [&] {
      QPainter painter(&image);
      ostrel::app::qt::QtCanvas canvas(&painter);
      form.Paint(canvas);
    }));
  }
  std::sort(frameTimes.begin(), frameTimes.end());
  std::printf("animation frame composed + full paint of page AZ:        %8.3f ms (slowest %.3f ms)\n",
              frameTimes[frameTimes.size() / 2], frameTimes.back());

  const ostrel::skin::Control& button = form.Get("imgbtn_AZ");
  const ostrel::skin::Box box = form.VisibleBox(button);
  int flip = 0;
  double stateMs = MedianMs(runs, [&] {
    SetImageState(form, "imgbtn_AZ", (++flip & 1) ? "hover" : "normal");
    QPainter painter(&image);
    ostrel::app::qt::QtCanvas canvas(&painter);
    form.Paint(canvas, box);
  });
  std::printf("button state change (decode 200 x 44 PNG + repaint box): %8.3f ms\n", stateMs);
  return 0;
}

// The installer window without a toolkit: a host that records what the form asks of it,
// a text measure of fixed metrics, and a fixture with the window shown.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/FSpeedInstall.h"
#include "app/FormHost.h"
#include "test_pictures.h"

namespace ostrel::skin::test {

class RecordingHost : public app::FormHost {
 public:
  void StartSystemMove() override { ++moves; }
  void Repaint(const Box& area) override { repainted.push_back(area); }
  void CloseWindow() override { ++closes; }
  void TimerChanged(const Control& timer) override { timers.emplace_back(timer.Name()); }
  void ExitProcess(int code) override { exits.push_back(code); }

  int moves = 0;
  int closes = 0;
  std::vector<int> exits;  // the process would have ended with these codes
  std::vector<Box> repainted;
  std::vector<std::string> timers;
};

// Each character (code point) is fontHeight wide; a line is fontHeight + 6 high.
class FixedMeasure : public TextMeasure {
 public:
  TextSize MeasureText(std::string_view text, int fontHeight) override;
};

// The window after its show handler, on pictures made by the tests and a clock the test
// moves.
class ShownWindow : public ::testing::Test {
 protected:
  ShownWindow();

  Form& form() { return window->Form(); }
  Control& get(std::string_view name) { return form().Get(name); }
  std::string PictureOf(std::string_view image);
  // The centre of a control's box on screen.
  void MoveTo(std::string_view name);
  void Click(std::string_view name, MouseButton button = MouseButton::Left);

  CatalogueSource pictures;
  int64_t now = 1000;
  RecordingHost host;
  FixedMeasure measure;
  std::unique_ptr<TfrmSpeedInstall> window;
};

}  // namespace ostrel::skin::test

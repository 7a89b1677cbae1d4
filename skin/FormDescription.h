// The installer window as data: every control with its owner, box, text, font, colour,
// placement, first visibility, pointer, Hint, Tag and the handlers its events run, in
// creation and stacking order. Texts are UTF-8.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "skin/Geometry.h"

namespace ostrel::skin {

enum class ControlKind { Notebook, Page, Panel, Image, Label, Edit, Timer };

// centred: both ways in the box; centred across: horizontally, from the top;
// auto: the label takes its text's size, anchored at its top-left; left: one line from the
// left, vertically centred (the edit box).
enum class TextPlacement { None, Centred, CentredAcross, Auto, Left };

// An image control's Tag: what kind of picture it shows.
inline constexpr int32_t kPlainImage = 0;
inline constexpr int32_t kThreeStateButton = 88;  // normal, hover and down pictures
inline constexpr int32_t kTwoStateButton = 99;    // normal and down pictures

// Handler names per event; empty: the event does nothing.
struct EventBindings {
  std::string_view click, mouseDown, mouseUp, mouseEnter, mouseLeave, timer;
};

struct ControlDescription {
  ControlKind kind = ControlKind::Label;
  std::string_view name;
  std::string_view owner;  // empty: the window itself
  Box box;                 // relative to the owner
  std::string_view text;   // labels, the edit box; a page's caption
  int fontHeight = 14;
  Rgb colour{0x333333};     // text colour
  Rgb fill{0xFFFFFF};       // panels, the edit box and opaque labels
  bool opaque = false;      // labels: draws its box in `fill`
  TextPlacement placement = TextPlacement::None;
  bool hidden = false;
  bool handPointer = false;
  std::string_view hint;
  int32_t tag = 0;
  int interval = 0;     // timers, milliseconds
  bool running = true;  // timers: enabled when the window is created
  EventBindings on;

  // Readable modifiers for the table.
  ControlDescription& Hidden() { hidden = true; return *this; }
  ControlDescription& Hand() { handPointer = true; return *this; }
  ControlDescription& Hint(std::string_view h) { hint = h; return *this; }
  ControlDescription& Tag(int32_t t) { tag = t; return *this; }
  ControlDescription& Stopped() { running = false; return *this; }
  ControlDescription& Click(std::string_view h) { on.click = h; return *this; }
  ControlDescription& Down(std::string_view h) { on.mouseDown = h; return *this; }
  ControlDescription& Up(std::string_view h) { on.mouseUp = h; return *this; }
  ControlDescription& Enter(std::string_view h) { on.mouseEnter = h; return *this; }
  ControlDescription& Leave(std::string_view h) { on.mouseLeave = h; return *this; }
};

// The window's content size and its colours.
struct WindowDescription {
  std::string_view title;
  Rgb frameColour;
  std::vector<ControlDescription> controls;
};

// The installer window, frmSpeedInstall.
const WindowDescription& SpeedInstallWindow();

}  // namespace ostrel::skin

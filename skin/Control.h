// One control of the form at run time: its description and what has changed since.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "skin/FormDescription.h"
#include "skin/Picture.h"

namespace ostrel::skin {

class Form;

class Control {
 public:
  explicit Control(const ControlDescription& d)
      : description(&d), box(d.box), visible(!d.hidden), text(d.text), colour(d.colour), enabled(d.running) {}

  std::string_view Name() const { return description->name; }
  ControlKind Kind() const { return description->kind; }
  std::string_view Hint() const { return description->hint; }
  int32_t Tag() const { return description->tag; }
  bool IsImage() const { return Kind() == ControlKind::Image; }
  bool IsLabel() const { return Kind() == ControlKind::Label; }

  const ControlDescription* description;
  Form* form = nullptr;  // the window that owns it
  int index = 0;
  int parent = -1;  // -1: the window
  std::vector<int> children;

  Box box;  // relative to the parent
  bool visible;
  std::string text;
  Rgb colour;  // text colour
  std::shared_ptr<const Picture> picture;  // image controls
  int64_t pictureSince = 0;                // when the picture was put in place (ms)
  int shownFrame = 0;                      // the animation frame last painted
  int pageIndex = 0;                       // notebooks
  bool enabled;                            // timers
};

}  // namespace ostrel::skin

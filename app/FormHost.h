// What the installer window asks of the toolkit that puts it on screen.
#pragma once

#include "skin/FormEvents.h"
#include "skin/Geometry.h"

namespace ostrel::app {

class FormHost : public skin::FormObserver {
 public:
  // Moves the window with the pointer until the pressed button is released (the drag).
  virtual void StartSystemMove() = 0;
  // Paints part of the content (content pixels) again, soon.
  virtual void Repaint(const skin::Box& area) = 0;
  // Closes the window; closing it ends the program.
  virtual void CloseWindow() = 0;

  void Invalidate(const skin::Box& area) final { Repaint(area); }
};

}  // namespace ostrel::app

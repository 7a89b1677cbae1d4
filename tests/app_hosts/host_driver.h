// What the host tests ask of a host, whatever its toolkit: the installer window with its form
// bound and shown the start-up's way (host_driver_qt.cpp, host_driver_win32.cpp), what the
// toolkit shows of it, and the user's hand on it: pointer, keys, boxes, the folder picker.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>

#include "app/FSpeedInstall.h"
#include "app/WindowSession.h"
#include "skin/Geometry.h"

namespace ostrel::skin {
inline void PrintTo(const Box& b, std::ostream* os) {
  *os << "(" << b.left << ", " << b.top << ") " << b.width << " x " << b.height;
}
}  // namespace ostrel::skin

namespace ostrel::app::hosts {

// The window as the toolkit has it.
struct WindowSeen {
  skin::Box outer;         // on screen, with any frame of the system's
  int clientWidth = 0, clientHeight = 0;
  std::string title;
  bool frameless = false;  // no caption, no sizing border
  bool visible = false;
};

// The edit box over edtAZLJ, in window pixels.
struct EditSeen {
  skin::Box box;
  std::string text;
  bool visible = false;
  bool framed = false;
};

enum class Pointer { Arrow, Hand, Other };
enum class Icon { Information, Error, Other };

// A box as the user sees it.
struct BoxSeen {
  std::string caption;
  std::string text;  // as it reads: markup shown as markup, or what markup renders to
  Icon icon = Icon::Other;
  int buttons = 0;
  bool ownedByWindow = false;
};

// The window while the folder picker is open.
struct PickerSeen {
  bool windowEnabled = false;
  bool modal = true;  // the picker holds the window (owned by it, or application-modal)
};

class HostDriver {
 public:
  virtual ~HostDriver() = default;

  // The window with the form bound and its show handler run; not shown yet.
  virtual SessionHost& Window() = 0;
  virtual TfrmSpeedInstall& Form() = 0;

  // Shows the window at its first position; true once it is on screen.
  virtual bool Show() = 0;
  virtual WindowSeen Seen() = 0;
  // The toolkit's own word on the size of the virtual screen.
  virtual skin::Box Screen() = 0;
  // A pixel of the window as painted, 0xRRGGBB.
  virtual uint32_t Pixel(int x, int y) = 0;

  virtual EditSeen Edit() = 0;
  // Types text into the edit box, one character after the other.
  virtual void Type(const std::string& text) = 0;

  // The pointer, in window pixels.
  virtual void Move(int x, int y) = 0;
  virtual void Press(int x, int y, skin::MouseButton button) = 0;
  virtual void Release(int x, int y, skin::MouseButton button) = 0;
  void Click(int x, int y) {
    Move(x, y);
    Press(x, y, skin::MouseButton::Left);
    Release(x, y, skin::MouseButton::Left);
  }
  virtual Pointer PointerShape() = 0;

  // Runs action, which returns once a box it brings up is dismissed: the first box that comes up
  // is read, then its OK pressed. Nothing when none came up.
  virtual std::optional<BoxSeen> AnswerBox(const std::function<void()>& action) = 0;
  // Runs action, which returns once a folder picker it opens has closed. While the first picker
  // that comes up is open, whileOpen runs; then, unless it has been closed meanwhile (closing the
  // window closes it), it is answered with chosen (a Windows path), or cancelled. False when none
  // came up.
  virtual bool AnswerPicker(const std::function<void()>& action,
                            const std::function<void(const PickerSeen&)>& whileOpen,
                            const std::optional<std::string>& chosen) = 0;
  virtual int OpenPickers() = 0;

  // A close asked by the system (the window manager's, Alt+F4); true when the window closed.
  virtual bool SystemClose() = 0;
  // Runs the window's events until done holds or 10 s have passed; done's last answer.
  virtual bool PumpUntil(const std::function<bool()>& done) = 0;
};

// A driver's window of type W with the form bound to it and its show handler run.
template <typename W>
class DriverOf : public HostDriver {
 public:
  DriverOf() {
    window_.Attach(form_);
    form_.FormShow();
  }
  SessionHost& Window() override { return window_; }
  TfrmSpeedInstall& Form() override { return form_; }

 protected:
  W window_;
  TfrmSpeedInstall form_{window_};
};

std::unique_ptr<HostDriver> MakeHostDriver();

}  // namespace ostrel::app::hosts

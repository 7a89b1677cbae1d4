// What the installer window asks of the toolkit that puts it on screen.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "skin/FormEvents.h"
#include "skin/Geometry.h"

namespace ostrel::app {

// The caption of the flow's box.
inline constexpr std::string_view kMessageCaption = "提示";

// Carries calls from other threads onto the window's thread. It outlives the window (whoever
// holds it keeps it): once the window is gone, calls are dropped.
class WindowThreadCaller {
 public:
  virtual ~WindowThreadCaller() = default;
  // Runs call on the window's thread and returns when it has run; returns at once without
  // running it when the window is gone or going. Never deadlocks with a window that is waiting
  // for the engine (the window keeps running its events while it waits).
  virtual void Call(const std::function<void()>& call) = 0;
  // The engine's failure notice: runs the bound handler on the window's thread as Call runs a
  // call. A host with window messages carries it as a message of its own, whose handling calls
  // RunDownloadFailed.
  virtual void NotifyDownloadFailed() { Call([this] { RunDownloadFailed(); }); }

  // Binds the notice to its handler (the form's WMDownloadFailed), or unbinds it with an empty
  // one. Both this and RunDownloadFailed run on the window's thread only.
  void BindDownloadFailed(std::function<void()> handler) { downloadFailed_ = std::move(handler); }
  void RunDownloadFailed() const {
    if (downloadFailed_) downloadFailed_();
  }

 private:
  std::function<void()> downloadFailed_;
};


class FormHost : public skin::FormObserver {
 public:
  // Moves the window with the pointer until the pressed button is released (the drag).
  virtual void StartSystemMove() = 0;
  // Paints part of the content (content pixels) again, soon.
  virtual void Repaint(const skin::Box& area) = 0;
  // Closes the window; closing it ends the program.
  virtual void CloseWindow() = 0;
  // The window has been closed (by the flow or by the system), or is closing.
  virtual bool WindowClosed() const { return false; }

  // The flow's needs. The defaults suit hosts that only show the window (screen renderers,
  // look tests): no box, no events to run, no folder dialog, calls dropped.

  // The flow's box: caption kMessageCaption, information icon, one OK button, owned by the window.
  // Returns when the user has dismissed it; the window's events go on meanwhile.
  virtual void ShowMessage(const std::string& /*text*/) {}
  // Runs the window's pending events (paint, input, timers) once.
  virtual void ProcessMessages() {}
  // The folder dialog with its title, opened at startFolder (a Windows path; empty for the
  // default); the chosen folder as a Windows path, or nothing when cancelled. Returns when the
  // dialog has closed; it has no owner, so the window stays enabled and its events go on meanwhile.
  virtual std::optional<std::string> BrowseForFolder(const std::string& /*title*/,
                                                     const std::string& /*startFolder*/) {
    return std::nullopt;
  }
  // The way from other threads onto the window's thread (for the engine's failure notice); none
  // for hosts without a window thread.
  virtual std::shared_ptr<WindowThreadCaller> CallerOnWindowThread() { return nullptr; }
  // Ends the process at once with the exit code, releasing nothing.
  virtual void ExitProcess(int code);
  // The window's handle, as the owner of programs the shell starts; 0 when there is none.
  virtual std::uintptr_t WindowHandle() { return 0; }

  void Invalidate(const skin::Box& area) final { Repaint(area); }
};

}  // namespace ostrel::app

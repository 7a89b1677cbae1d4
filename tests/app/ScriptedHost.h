// A host for the installer window without a display, driven by a test: it records the boxes
// shown, answers the folder dialog from a script, runs the calls that engine threads send onto
// the window's thread when the test pumps, ticks timers when told, and records an exit instead
// of ending the process.
#pragma once

#include <chrono>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/FSpeedInstall.h"
#include "app/FormHost.h"
#include "app/QueuedWindowCaller.h"

namespace ostrel::app::test {

class ScriptedHost : public FormHost {
 public:
  ScriptedHost();
  ~ScriptedHost() override;

  // FormHost.
  void StartSystemMove() override {}
  void Repaint(const skin::Box&) override {}
  void CloseWindow() override;
  bool WindowClosed() const override { return closed; }
  void ShowMessage(const std::string& text) override;
  void ProcessMessages() override;
  std::optional<std::string> BrowseForFolder(const std::string& title, const std::string& startFolder) override;
  std::shared_ptr<WindowThreadCaller> CallerOnWindowThread() override { return caller_; }
  void ExitProcess(int code) override;  // recorded; the handler returns as if the process ended

  // Runs the queued window-thread calls (the engine's failure notices); how many ran.
  int Pump() { return caller_->RunQueued(); }
  // How many window-thread calls wait for the next pump.
  size_t Queued() { return caller_->Queued(); }
  // Pumps and ticks `timer` of form every `step` until done() holds or limit has passed; true
  // when it held. Give an empty timer name to pump only.
  bool TickUntil(TfrmSpeedInstall& form, const std::string& timer, const std::function<bool()>& done,
                 std::chrono::milliseconds limit = std::chrono::seconds(20),
                 std::chrono::milliseconds step = std::chrono::milliseconds(20));

  // What happened, for the test to look at.
  std::vector<std::string> boxes;         // texts of the boxes shown, in order
  std::vector<std::string> browseTitles;  // the folder dialog's titles, in order
  std::vector<std::string> browseStarts;  // ... and start folders
  std::optional<int> exitCode;            // set by ExitProcess
  bool closed = false;                    // set by CloseWindow
  int processedMessages = 0;              // ProcessMessages calls

  // The script: the folder dialog's answers in order (nothing = cancelled; cancelled when empty),
  // and what ProcessMessages does besides pumping.
  std::deque<std::optional<std::string>> browseAnswers;
  std::function<void()> onProcessMessages;

 private:
  // The window's thread is the one that made the host; the test pumps the queued calls.
  std::shared_ptr<QueuedWindowCaller> caller_ = std::make_shared<QueuedWindowCaller>();
};

}  // namespace ostrel::app::test

#include "ScriptedHost.h"

#include <thread>

namespace ostrel::app::test {

ScriptedHost::ScriptedHost() = default;

ScriptedHost::~ScriptedHost() { caller_->Close(); }

void ScriptedHost::CloseWindow() {
  closed = true;
  caller_->Close();
}

void ScriptedHost::ShowMessage(const std::string& text) { boxes.push_back(text); }

void ScriptedHost::ProcessMessages() {
  ++processedMessages;
  Pump();
  if (onProcessMessages) onProcessMessages();
}

std::optional<std::string> ScriptedHost::BrowseForFolder(const std::string& title, const std::string& startFolder) {
  browseTitles.push_back(title);
  browseStarts.push_back(startFolder);
  if (browseAnswers.empty()) return std::nullopt;
  std::optional<std::string> answer = browseAnswers.front();
  browseAnswers.pop_front();
  return answer;
}

void ScriptedHost::ExitProcess(int code) {
  exitCode = code;
  closed = true;
  caller_->Close();
}

bool ScriptedHost::TickUntil(TfrmSpeedInstall& form, const std::string& timer, const std::function<bool()>& done,
                             std::chrono::milliseconds limit, std::chrono::milliseconds step) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  for (;;) {
    Pump();
    if (!timer.empty()) form.Form().TimerTick(timer);
    if (done()) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(step);
  }
}

}  // namespace ostrel::app::test

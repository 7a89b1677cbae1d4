#include "ScriptedHost.h"

namespace ostrel::app::test {

ScriptedCaller::ScriptedCaller() : windowThread_(std::this_thread::get_id()) {}

void ScriptedCaller::Call(const std::function<void()>& call) {
  if (std::this_thread::get_id() == windowThread_) {
    bool closed;
    {
      std::lock_guard hold(lock_);
      closed = closed_;
    }
    if (!closed) call();
    return;
  }
  auto item = std::make_shared<Item>(Item{call});
  std::unique_lock hold(lock_);
  if (closed_) return;
  queue_.push_back(item);
  settled_.wait(hold, [&] { return item->done || closed_; });
}

int ScriptedCaller::Pump() {
  int ran = 0;
  for (;;) {
    std::shared_ptr<Item> item;
    {
      std::lock_guard hold(lock_);
      if (closed_ || queue_.empty()) return ran;
      item = queue_.front();
      queue_.pop_front();
    }
    item->call();
    ++ran;
    std::lock_guard hold(lock_);
    item->done = true;
    settled_.notify_all();
  }
}

void ScriptedCaller::Close() {
  std::lock_guard hold(lock_);
  closed_ = true;
  queue_.clear();
  settled_.notify_all();
}

size_t ScriptedCaller::Queued() {
  std::lock_guard hold(lock_);
  return queue_.size();
}

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

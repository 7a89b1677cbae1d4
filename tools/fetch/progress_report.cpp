#include "tools/fetch/progress_report.h"

#include <algorithm>
#include <cstdio>

namespace ostrel::fetch {

std::string FormatBytes(int64_t bytes) {
  static const char* const kUnits[] = {"KiB", "MiB", "GiB"};
  if (bytes < 1024) return std::to_string(bytes) + " B";
  double value = static_cast<double>(bytes) / 1024.0;
  size_t unit = 0;
  while (value >= 1024.0 && unit + 1 < std::size(kUnits)) {
    value /= 1024.0;
    ++unit;
  }
  char text[32];
  std::snprintf(text, sizeof text, "%.1f %s", value, kUnits[unit]);
  return text;
}

std::string FormatProgress(int32_t percent, int64_t received, int64_t total,
                           double bytesPerSecond, int barWidth) {
  const int shown = std::clamp(percent, 0, 100);
  std::string line;
  if (barWidth > 0) {
    const int filled = shown * barWidth / 100;
    line = "[" + std::string(filled, '#') + std::string(barWidth - filled, '-') + "] ";
  }
  char head[16];
  std::snprintf(head, sizeof head, "%3d%%", shown);
  line += head;
  line += "  " + FormatBytes(received) + " / " + (total > 0 ? FormatBytes(total) : "?");
  line += "  " + FormatBytes(static_cast<int64_t>(bytesPerSecond)) + "/s";
  return line;
}

void SpeedMeter::Add(Clock::time_point when, int64_t received) {
  samples_.emplace_back(when, received);
  while (samples_.size() > 2 && when - samples_[1].first >= std::chrono::seconds(1))
    samples_.pop_front();
}

double SpeedMeter::BytesPerSecond() const {
  if (samples_.size() < 2) return 0.0;
  const auto& [firstTime, firstBytes] = samples_.front();
  const auto& [lastTime, lastBytes] = samples_.back();
  const double seconds = std::chrono::duration<double>(lastTime - firstTime).count();
  if (seconds <= 0.0 || lastBytes < firstBytes) return 0.0;
  return static_cast<double>(lastBytes - firstBytes) / seconds;
}

}  // namespace ostrel::fetch

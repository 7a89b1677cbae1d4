// What ostrel-fetch shows while it follows a job: a bar on a terminal, plain lines otherwise.
#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <string>

namespace ostrel::fetch {

// "12.3 MiB", "512 B", ...
std::string FormatBytes(int64_t bytes);

// "[#####-----]  50%  1.0 MiB / 2.0 MiB  3.4 MiB/s" for a bar of the given width.
std::string FormatProgress(int32_t percent, int64_t received, int64_t total,
                           double bytesPerSecond, int barWidth);

// Speed over the last second or so of samples.
class SpeedMeter {
 public:
  using Clock = std::chrono::steady_clock;
  void Add(Clock::time_point when, int64_t received);
  double BytesPerSecond() const;

 private:
  std::deque<std::pair<Clock::time_point, int64_t>> samples_;
};

}  // namespace ostrel::fetch

#include "download/SegmentWriter.h"

#include <algorithm>
#include <cstring>

namespace ostrel::download {

DownloadFailure FileBlockOutput::Failure() const {
  const FailureKind kind =
      file_.Error() == platform::FileError::NoSpace ? FailureKind::DiskFull : FailureKind::FileError;
  return {kind, platform::FileErrorText(file_.Error())};
}

SegmentWriter::SegmentWriter(BlockOutput& output, int64_t position, int32_t remaining,
                             std::atomic<int32_t>& doneSize,
                             const std::atomic<bool>& stopRequested, std::span<char> buffer)
    : output_(output),
      position_(position),
      remaining_(remaining),
      done_(doneSize.load()),
      doneSize_(doneSize),
      stopRequested_(stopRequested),
      buffer_(buffer) {
  if (remaining_ <= 0) state_ = State::Complete;
}

size_t SegmentWriter::Feed(const char* data, size_t size) {
  if (state_ != State::Receiving) return 0;
  if (stopRequested_.load(std::memory_order_acquire)) {
    state_ = State::Stopped;
    return 0;
  }
  // Bytes beyond the segment's end (the surplus byte of the range) are not taken.
  const size_t take = std::min(size, static_cast<size_t>(remaining_) - buffered_);
  if (take >= DirectSize()) {  // written where it lies, after what the buffer holds
    if (!Flush() || !Write(data, take)) return 0;
    return take;
  }
  size_t consumed = 0;
  while (consumed < take) {
    if (buffered_ == 0) oldest_ = Clock::now();
    const size_t n = std::min(take - consumed, buffer_.size() - buffered_);
    std::memcpy(buffer_.data() + buffered_, data + consumed, n);
    buffered_ += n;
    consumed += n;
    const bool full = buffered_ == buffer_.size(), last = buffered_ == static_cast<size_t>(remaining_);
    if ((full || last) && !Write(buffer_.data(), buffered_)) return 0;
  }
  return consumed;
}

void SegmentWriter::Tick(Clock::time_point now) {
  if (state_ == State::Receiving && buffered_ > 0 && now - oldest_ >= kFlushAge)
    Write(buffer_.data(), buffered_);
}

size_t SegmentWriter::DirectSize() const { return std::max<size_t>(buffer_.size() / kDirectShare, 1); }

bool SegmentWriter::Flush() {
  if (buffered_ == 0 || state_ == State::WriteFailed) return true;
  return Write(buffer_.data(), buffered_);
}

bool SegmentWriter::Write(const char* data, size_t size) {
  if (!output_.WriteAt(data, size, position_)) {
    state_ = State::WriteFailed;
    return false;
  }
  position_ += static_cast<int64_t>(size);
  remaining_ -= static_cast<int32_t>(size);
  done_ += static_cast<int32_t>(size);
  doneSize_.store(done_, std::memory_order_release);  // only now: the bytes are in the file
  buffered_ = 0;
  if (remaining_ == 0) state_ = State::Complete;
  return true;
}

}  // namespace ostrel::download

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
                             const std::atomic<bool>& stopRequested,
                             std::span<char, kBlockSize> buffer)
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
  size_t consumed = 0;
  while (consumed < size && state_ == State::Receiving) {
    if (blockSize_ == 0) {  // between blocks
      if (stopRequested_.load(std::memory_order_acquire)) {
        state_ = State::Stopped;
        break;
      }
      blockSize_ = std::min<size_t>(static_cast<size_t>(remaining_), kBlockSize);
    }
    const size_t available = size - consumed;
    if (gathered_ == 0 && available >= blockSize_) {
      const size_t whole = blockSize_;
      if (!WriteBlock(data + consumed, whole)) break;
      consumed += whole;
      continue;
    }
    const size_t take = std::min(blockSize_ - gathered_, available);
    std::memcpy(buffer_.data() + gathered_, data + consumed, take);
    gathered_ += take;
    consumed += take;
    if (gathered_ == blockSize_ && !WriteBlock(buffer_.data(), blockSize_)) break;
  }
  return consumed;
}

bool SegmentWriter::FlushPartial() {
  if (gathered_ == 0 || state_ == State::WriteFailed) return true;
  const State before = state_;
  if (!WriteBlock(buffer_.data(), gathered_)) return false;
  if (state_ != State::Complete) state_ = before;
  return true;
}

bool SegmentWriter::WriteBlock(const char* data, size_t size) {
  if (!output_.WriteAt(data, size, position_)) {
    state_ = State::WriteFailed;
    return false;
  }
  position_ += static_cast<int64_t>(size);
  remaining_ -= static_cast<int32_t>(size);
  done_ += static_cast<int32_t>(size);
  doneSize_.store(done_, std::memory_order_release);
  blockSize_ = 0;
  gathered_ = 0;
  if (remaining_ == 0) state_ = State::Complete;
  return true;
}

}  // namespace ostrel::download

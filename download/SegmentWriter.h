// Turns the body of a segment's response, as it arrives in pieces of any size, into blocks of at
// most 10240 bytes written at their place in the receive file. A block is a whole 10240 bytes
// except the segment's last one; it is written straight from the piece when the piece holds it
// whole, else gathered in the worker's buffer first. The segment's DoneSize is raised only after a
// block has been written, and the stop request is looked at before each block begins.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <span>

#include "download/DownloadFailure.h"
#include "platform/file.h"

namespace ostrel::download {

inline constexpr size_t kBlockSize = 10240;

// Where blocks go: the receive file, or a recorder in tests.
class BlockOutput {
 public:
  virtual ~BlockOutput() = default;
  // Writes all size bytes at offset; false on failure.
  virtual bool WriteAt(const char* data, size_t size, int64_t offset) = 0;
};

// Writes at an offset of an open file.
class FileBlockOutput final : public BlockOutput {
 public:
  explicit FileBlockOutput(platform::File& file) : file_(file) {}
  bool WriteAt(const char* data, size_t size, int64_t offset) override {
    return file_.WriteAt(data, size, offset);
  }
  // Why the last write failed: DiskFull when the device or quota is full, else FileError.
  DownloadFailure Failure() const;

 private:
  platform::File& file_;
};

class SegmentWriter {
 public:
  enum class State { Receiving, Complete, Stopped, WriteFailed };

  // position: offset of the next byte; remaining: bytes still wanted for the segment.
  SegmentWriter(BlockOutput& output, int64_t position, int32_t remaining,
                std::atomic<int32_t>& doneSize, const std::atomic<bool>& stopRequested,
                std::span<char, kBlockSize> buffer);

  // Takes the next bytes of the body and returns how many it consumed. Fewer than size means the
  // body is no longer wanted: the segment is complete, a stop request was seen, or a write failed.
  size_t Feed(const char* data, size_t size);

  // Writes the bytes gathered for an unfinished block, as a shorter block, so that a transfer that
  // ends early (stopped, dropped) keeps every byte received. The state stays as it is.
  bool FlushPartial();

  State state() const { return state_; }
  int64_t Position() const { return position_; }
  int32_t Remaining() const { return remaining_; }

 private:
  bool WriteBlock(const char* data, size_t size);

  BlockOutput& output_;
  int64_t position_;
  int32_t remaining_;
  int32_t done_;
  std::atomic<int32_t>& doneSize_;
  const std::atomic<bool>& stopRequested_;
  std::span<char, kBlockSize> buffer_;
  size_t blockSize_ = 0;  // size of the block being gathered; 0 between blocks
  size_t gathered_ = 0;   // bytes of it held in buffer_
  State state_ = State::Receiving;
};

}  // namespace ostrel::download

// Turns the body of a segment's response, as it arrives in pieces of any size, into few large
// writes at their place in the receive file. Pieces are gathered in the worker's own buffer, and
// the buffer is written when it is full, when it holds the segment's last byte, when its oldest
// byte has waited kFlushAge (see Tick), and when the transfer ends (Flush). A large piece (a
// quarter of the buffer or more) is written straight from where it lies, after what the buffer
// holds: copying it would cost more than the write it saves (measured with ostrel-write-bench and
// bench/engine/run.sh: libcurl hands over pieces of about 200 KiB on a fast link).
//
// The segment's DoneSize is raised only after a write has succeeded: it counts bytes in the file,
// never bytes still in the buffer. Progress, completion and the state file all read DoneSize, so
// each of them describes bytes that are in the file; the age rule keeps progress moving on a slow
// link, where a full buffer would take seconds.
#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <span>

#include "download/DownloadFailure.h"
#include "platform/file.h"

namespace ostrel::download {

// A worker's write buffer. On Windows a write call costs far more than a pwrite on Linux (and
// more again under an anti-virus filter, which inspects each write): 256 KiB there, about 4,100
// writes a GiB instead of 105,000 blocks of 10240 bytes. On Linux larger writes are slower
// (measured with bench/engine/run.sh at 1 GiB: 64 KiB 1.07 s, 256 KiB 2.1 s, 10240 bytes 1.2 s):
// the data leaves the cache before it is written, and the other worker spins on the file's
// lock while a long write holds it.
#ifdef _WIN32
inline constexpr size_t kWriteBufferSize = 256 * 1024;
#else
inline constexpr size_t kWriteBufferSize = 64 * 1024;
#endif
// The longest a received byte waits in the buffer before a round of the transfer writes it.
inline constexpr std::chrono::milliseconds kFlushAge{50};
// A piece of at least 1 / kDirectShare of the buffer is written without being copied.
inline constexpr size_t kDirectShare = 4;

// Where the writes go: the receive file, or a recorder in tests.
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
  using Clock = std::chrono::steady_clock;
  enum class State { Receiving, Complete, Stopped, WriteFailed };

  // position: offset of the next byte; remaining: bytes still wanted for the segment; buffer: the
  // worker's own, of any size above zero.
  SegmentWriter(BlockOutput& output, int64_t position, int32_t remaining,
                std::atomic<int32_t>& doneSize, const std::atomic<bool>& stopRequested,
                std::span<char> buffer);

  // Takes the next bytes of the body and returns how many it consumed. Fewer than size means the
  // body is no longer wanted: the segment is complete, a stop request was seen (looked at as
  // each piece comes), or a write failed.
  size_t Feed(const char* data, size_t size);

  // Writes the buffer if its oldest byte came kFlushAge or more before now. Called after every
  // round of the transfer, also when no data came, so a slow or stalled link still shows what it
  // delivered.
  void Tick(Clock::time_point now);

  // Writes whatever the buffer holds, so that a transfer that ends early (stopped, dropped) keeps
  // every byte received. The state stays as it is, unless the segment is then complete.
  bool Flush();

  State state() const { return state_; }
  int64_t Position() const { return position_; }   // of the next byte not yet in the file
  int32_t Remaining() const { return remaining_; }  // bytes not yet in the file
  size_t Buffered() const { return buffered_; }

 private:
  bool Write(const char* data, size_t size);
  size_t DirectSize() const;

  BlockOutput& output_;
  int64_t position_;
  int32_t remaining_;
  int32_t done_;
  std::atomic<int32_t>& doneSize_;
  const std::atomic<bool>& stopRequested_;
  std::span<char> buffer_;
  size_t buffered_ = 0;            // bytes held in buffer_, due at position_
  Clock::time_point oldest_{};     // when the first of them came
  State state_ = State::Receiving;
};

}  // namespace ostrel::download

#include "download/StateFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "platform/posix/fd_io.h"

namespace download {

namespace {

constexpr size_t kHeaderSize = 8;
constexpr size_t kRecordSize = 12;
constexpr size_t kMaxStateFileSize = kHeaderSize + kRecordSize * kMaxSegments;

void PutInt32(std::vector<uint8_t>& out, int32_t value) {
  const auto bits = static_cast<uint32_t>(value);
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<uint8_t>(bits >> shift));
}

int32_t GetInt32(const std::vector<uint8_t>& in, size_t at) {
  uint32_t bits = 0;
  for (int i = 3; i >= 0; --i) bits = (bits << 8) | in[at + i];
  return static_cast<int32_t>(bits);
}

bool Acceptable(const DownloadState& s) {
  if (s.TotalSize <= 0 || s.SegmentCount < kMinSegments || s.SegmentCount > kMaxSegments)
    return false;
  int32_t expectedStart = 0;
  for (int32_t k = 0; k < s.SegmentCount; ++k) {
    const SegmentRecord& r = s.Segments[k];
    if (r.StartPos != expectedStart || r.EndPos < r.StartPos || r.EndPos > s.TotalSize)
      return false;
    if (r.DoneSize < 0 || r.DoneSize > r.EndPos - r.StartPos) return false;
    expectedStart = r.EndPos;
  }
  return expectedStart == s.TotalSize;
}

bool WriteEncoded(int fd, const std::vector<uint8_t>& bytes) {
  return platform::posix::WriteAll(fd, bytes.data(), bytes.size());
}

void SyncDirectoryOf(const std::string& hostPath) {
  const size_t cut = hostPath.rfind('/');
  const std::string dir = cut == std::string::npos ? "." : hostPath.substr(0, cut + 1);
  const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

std::vector<uint8_t> EncodeState(const DownloadState& state) {
  std::vector<uint8_t> out;
  out.reserve(kHeaderSize + kRecordSize * static_cast<size_t>(state.SegmentCount));
  PutInt32(out, state.TotalSize);
  PutInt32(out, state.SegmentCount);
  for (int32_t k = 0; k < state.SegmentCount && k < kMaxSegments; ++k) {
    PutInt32(out, state.Segments[k].StartPos);
    PutInt32(out, state.Segments[k].EndPos);
    PutInt32(out, state.Segments[k].DoneSize);
  }
  return out;
}

std::optional<DownloadState> DecodeState(const std::vector<uint8_t>& bytes) {
  if (bytes.size() < kHeaderSize) return std::nullopt;
  DownloadState state;
  state.TotalSize = GetInt32(bytes, 0);
  state.SegmentCount = GetInt32(bytes, 4);
  if (state.SegmentCount < kMinSegments || state.SegmentCount > kMaxSegments) return std::nullopt;
  if (bytes.size() != kHeaderSize + kRecordSize * static_cast<size_t>(state.SegmentCount))
    return std::nullopt;
  for (int32_t k = 0; k < state.SegmentCount; ++k) {
    const size_t at = kHeaderSize + kRecordSize * static_cast<size_t>(k);
    state.Segments[k] = {GetInt32(bytes, at), GetInt32(bytes, at + 4), GetInt32(bytes, at + 8)};
  }
  if (!Acceptable(state)) return std::nullopt;
  return state;
}

std::optional<DownloadState> ReadStateFile(const std::string& hostPath) {
  const int fd = ::open(hostPath.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  // One byte more than the largest acceptable file, so that a longer file is seen as such.
  std::vector<uint8_t> bytes(kMaxStateFileSize + 1);
  size_t got = 0;
  while (got < bytes.size()) {
    const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      ::close(fd);
      return std::nullopt;
    }
    if (n == 0) break;
    got += static_cast<size_t>(n);
  }
  ::close(fd);
  bytes.resize(got);
  return DecodeState(bytes);
}

bool WriteStateFile(const std::string& hostPath, const DownloadState& state) {
  const std::string temporary = hostPath + ".tmp";
  const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  const bool written = WriteEncoded(fd, EncodeState(state)) && ::fsync(fd) == 0;
  const bool closed = ::close(fd) == 0;
  if (!written || !closed || std::rename(temporary.c_str(), hostPath.c_str()) != 0) {
    std::remove(temporary.c_str());
    return false;
  }
  SyncDirectoryOf(hostPath);
  return true;
}

}  // namespace download

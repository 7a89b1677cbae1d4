#include "download/StateFile.h"

#include "platform/file.h"

namespace ostrel::download {

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
  // One byte more than the largest acceptable file, so that a longer file is seen as such.
  const auto text = platform::ReadWholeFile(hostPath, kMaxStateFileSize + 1);
  if (!text) return std::nullopt;
  return DecodeState(std::vector<uint8_t>(text->begin(), text->end()));
}

bool WriteStateFile(const std::string& hostPath, const DownloadState& state) {
  const std::vector<uint8_t> bytes = EncodeState(state);
  return platform::ReplaceFileAtomically(
      hostPath, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

}  // namespace ostrel::download

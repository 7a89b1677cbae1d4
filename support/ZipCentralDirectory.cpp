#include "support/ZipCentralDirectory.h"

#include <algorithm>
#include <string_view>

namespace {

constexpr uint32_t kEndSignature = 0x06054b50;
constexpr uint32_t kZip64LocatorSignature = 0x07064b50;
constexpr uint32_t kZip64EndSignature = 0x06064b50;
constexpr uint32_t kCentralSignature = 0x02014b50;
constexpr size_t kEndSize = 22;
constexpr size_t kZip64LocatorSize = 20;
constexpr size_t kZip64EndSize = 56;
constexpr size_t kCentralSize = 46;
constexpr size_t kMaxComment = 0xFFFF;
constexpr uint16_t kZip64ExtraId = 0x0001;

// Little-endian fields of a buffer; out of range reads give 0 and set failed.
class Fields {
 public:
  explicit Fields(std::string_view bytes) : bytes_(bytes) {}
  uint64_t Get(size_t at, int size) {
    if (at > bytes_.size() || size_t(size) > bytes_.size() - at) {
      failed = true;
      return 0;
    }
    uint64_t v = 0;
    for (int i = size - 1; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(bytes_[at + i]);
    return v;
  }
  std::string_view Slice(size_t at, size_t size) {
    if (at > bytes_.size() || size > bytes_.size() - at) {
      failed = true;
      return {};
    }
    return bytes_.substr(at, size);
  }
  bool failed = false;

 private:
  std::string_view bytes_;
};

std::optional<std::string> ReadAt(platform::File& file, uint64_t offset, uint64_t size) {
  std::string bytes(size, '\0');
  if (file.ReadAt(bytes.data(), bytes.size(), static_cast<int64_t>(offset)) != static_cast<int64_t>(size))
    return std::nullopt;
  return bytes;
}

// Replaces the 32-bit fields that say "see the ZIP64 extra field" (all ones).
bool ApplyZip64Extra(std::string_view extra, uint32_t uncompressed, uint32_t compressed, ZipCentralEntry& entry) {
  Fields f(extra);
  for (size_t at = 0; at + 4 <= extra.size();) {
    const uint64_t id = f.Get(at, 2), size = f.Get(at + 2, 2);
    if (id == kZip64ExtraId) {
      size_t field = at + 4;
      if (uncompressed == 0xFFFFFFFF) field += 8;
      if (compressed == 0xFFFFFFFF) entry.compressedSize = f.Get(field, 8), field += 8;
      if (entry.localOffset == 0xFFFFFFFF) entry.localOffset = f.Get(field, 8), field += 8;
      return !f.failed && field <= at + 4 + size;
    }
    at += 4 + size;
  }
  return compressed != 0xFFFFFFFF && entry.localOffset != 0xFFFFFFFF;
}

std::optional<ZipCentralDirectory> ReadEntries(std::string_view bytes, uint64_t offset, uint64_t count) {
  ZipCentralDirectory directory;
  directory.offset = offset;
  directory.entries.reserve(std::min<uint64_t>(count, bytes.size() / kCentralSize));
  Fields f(bytes);
  size_t at = 0;
  for (uint64_t i = 0; i < count; ++i) {
    if (f.Get(at, 4) != kCentralSignature) return std::nullopt;
    ZipCentralEntry entry;
    entry.flags = static_cast<uint16_t>(f.Get(at + 8, 2));
    const auto compressed = static_cast<uint32_t>(f.Get(at + 20, 4));
    const auto uncompressed = static_cast<uint32_t>(f.Get(at + 24, 4));
    const size_t nameSize = f.Get(at + 28, 2), extraSize = f.Get(at + 30, 2), commentSize = f.Get(at + 32, 2);
    entry.compressedSize = compressed;
    entry.localOffset = f.Get(at + 42, 4);
    entry.name = std::string(f.Slice(at + kCentralSize, nameSize));
    const std::string_view extra = f.Slice(at + kCentralSize + nameSize, extraSize);
    if (f.failed || !ApplyZip64Extra(extra, uncompressed, compressed, entry)) return std::nullopt;
    directory.entries.push_back(std::move(entry));
    at += kCentralSize + nameSize + extraSize + commentSize;
  }
  if (at > bytes.size()) return std::nullopt;
  return directory;
}

// The directory that the end record at position end describes.
std::optional<ZipCentralDirectory> ReadDirectoryOf(platform::File& file, std::string_view endRecord, uint64_t end) {
  Fields f(endRecord);
  uint64_t count = f.Get(10, 2), size = f.Get(12, 4), offset = f.Get(16, 4);
  uint64_t limit = end;  // the directory lies before its end records
  if (end >= kZip64LocatorSize) {
    const std::optional<std::string> locator = ReadAt(file, end - kZip64LocatorSize, kZip64LocatorSize);
    Fields l(locator ? *locator : std::string_view());
    if (locator && l.Get(0, 4) == kZip64LocatorSignature) {
      const uint64_t at = l.Get(8, 8);
      const std::optional<std::string> record = at < end ? ReadAt(file, at, kZip64EndSize) : std::nullopt;
      Fields r(record ? *record : std::string_view());
      if (!record || r.Get(0, 4) != kZip64EndSignature) return std::nullopt;
      count = r.Get(32, 8), size = r.Get(40, 8), offset = r.Get(48, 8);
      limit = at;
    }
  }
  if (offset > limit || size > limit - offset) return std::nullopt;
  const std::optional<std::string> bytes = ReadAt(file, offset, size);
  if (!bytes) return std::nullopt;
  return ReadEntries(*bytes, offset, count);
}

}  // namespace

std::optional<ZipCentralDirectory> ReadZipCentralDirectory(
    platform::File& archive, const std::function<bool(const ZipCentralDirectory&)>& accept) {
  const int64_t length = archive.Length();
  if (length < static_cast<int64_t>(kEndSize)) return std::nullopt;
  const uint64_t tailSize = std::min<uint64_t>(length, kEndSize + kMaxComment);
  const uint64_t tailStart = length - tailSize;
  const std::optional<std::string> tail = ReadAt(archive, tailStart, tailSize);
  if (!tail) return std::nullopt;
  Fields f(*tail);
  for (size_t at = tailSize - kEndSize + 1; at-- > 0;) {
    if (f.Get(at, 4) != kEndSignature) continue;
    std::optional<ZipCentralDirectory> directory =
        ReadDirectoryOf(archive, std::string_view(*tail).substr(at, kEndSize), tailStart + at);
    if (directory && accept(*directory)) return directory;
  }
  return std::nullopt;
}

// Archives for the extraction tests: written with libzip, then edited byte by
// byte where a test needs what libzip would not write.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace fs = std::filesystem;

struct TestEntry {
  std::string name;  // the stored bytes
  std::string data;
  int method = -1;  // ZIP_CM_STORE, ZIP_CM_BZIP2, ...; -1: libzip's default (deflate)
  // (made-by system, external attributes); libzip's default otherwise.
  std::optional<std::pair<uint8_t, uint32_t>> attributes = std::nullopt;
};

constexpr uint8_t kMadeOnDos = 0;
constexpr uint8_t kMadeOnUnix = 3;

void WriteZip(const fs::path& archive, const std::vector<TestEntry>& entries);

// Raw edits of an archive without comment or ZIP64 records; each edit changes
// the central directory and the local header alike.
class ZipBytes {
 public:
  explicit ZipBytes(fs::path archive);
  void Save() const;

  void ClearUtf8Flag(size_t entry);
  void SetCrc(size_t entry, uint32_t crc);
  void SetUncompressedSize(size_t entry, uint32_t size);
  void SetNameByte(size_t entry, size_t pos, char byte);
  void FlipFirstDataByte(size_t entry);
  uint32_t CompressedSize(size_t entry) const;
  void SetCompressedSize(size_t entry, uint32_t size);
  // The central entry of entry then names the local header (and data) of other.
  void ShareLocalHeader(size_t entry, size_t other);

 private:
  size_t Central(size_t entry) const;
  size_t Local(size_t entry) const;
  uint32_t Get(size_t at, int bytes) const;
  void Put(size_t at, int bytes, uint32_t value);

  fs::path path_;
  std::string bytes_;
};

// Archives that libzip would never write: stored entries laid out by hand.
struct RawEntry {
  std::string name;
  std::string data;
  enum Descriptor { kNoDescriptor, kDescriptor, kSignedDescriptor } descriptor = kNoDescriptor;
};

// The entries one after the other, then the central directory.
void WriteRawZip(const fs::path& archive, const std::vector<RawEntry>& entries);

// The shape of a zip bomb: the stored data of the outer entry is the inner
// entry whole (local header and data), so the inner data counts twice. The
// outer entry has no data descriptor.
void WriteEntryInsideAnother(const fs::path& archive, const RawEntry& outer, const RawEntry& inner);
